// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/TagEditController.h"

#include "app/LocalFileView.h"
#include "app/TagEditDialog.h"
#include "audio/TagColumns.h"
#include "audio/TagError.h"
#include "core/Prompt.h"
#include "localfiles/LocalFileModel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace
{

// Undo steps kept; each holds only the few kilobytes around the audio of its files.
constexpr std::size_t UndoDepth = 50;

// The Genre cell is edited by choosing from the genre list (or nothing, for no genre).
class GenreDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* box = new QComboBox(parent);
        box->addItem(QString());
        for (const auto& [number, name] : TagEdit::genreList())
            box->addItem(name);
        return box;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* box = static_cast<QComboBox*>(editor);
        const int found = box->findText(index.data(Qt::EditRole).toString(), Qt::MatchFixedString);
        box->setCurrentIndex(qMax(0, found));
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }
};

bool isMp3(const QString& name)
{
    return name.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive);
}

} // namespace

TagEditController::TagEditController(LocalFileModel& model, LocalFileView& view, Prompt& prompt,
                                     QWidget* window)
    : QObject(window), m_model(model), m_view(view), m_prompt(prompt), m_window(window),
      m_editAction(new QAction(this)), m_undoAction(new QAction(this))
{
    m_editAction->setObjectName(QStringLiteral("editTags"));
    m_editAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    m_undoAction->setObjectName(QStringLiteral("undoTagEdit"));
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_undoAction->setEnabled(false);
    connect(m_editAction, &QAction::triggered, this, &TagEditController::editSelection);
    connect(m_undoAction, &QAction::triggered, this, &TagEditController::undoLast);
    setTexts(m_texts);

    m_model.setTagCellEditor(
        [this](int rowId, int column, const QString& text) { return editCell(rowId, column, text); });
    // F2 (the platform's edit key) edits the cell in focus; a click stays a selection or a drag.
    m_view.detailView()->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_view.detailView()->setItemDelegateForColumn(LocalFileModel::ColGenre, new GenreDelegate(this));
}

void TagEditController::setTexts(const TagEditTexts& texts)
{
    m_texts = texts;
    m_editAction->setText(texts.editTags);
    m_undoAction->setText(texts.undoEdit);
}

bool TagEditController::editCell(int rowId, int column, const QString& text)
{
    TagChanges changes;
    if (column == LocalFileModel::ColTitle) {
        changes.title = text;
    } else if (column == LocalFileModel::ColArtist) {
        changes.artist = text;
    } else if (column == LocalFileModel::ColGenre) {
        const int number = text.isEmpty() ? 255 : TagEdit::genreNumber(text);
        if (number < 0)
            return false;
        changes.genre = quint8(number);
    } else {
        return false;
    }
    return apply({m_model.rowById(rowId).path}, changes) == 1;
}

void TagEditController::editSelection()
{
    QStringList paths;
    QList<TagFields> fields;
    QStringList failures;
    for (int position : m_view.selectedRows()) {
        const LocalFileRow& row = m_model.row(position);
        if (!isMp3(row.name))
            continue;
        try {
            fields.append(TagEdit::read(row.path));
            paths.append(row.path);
        } catch (const TagError& error) {
            failures.append(error.description());
        }
    }
    if (paths.isEmpty()) {
        if (failures.isEmpty())
            m_prompt.showMessage(m_texts.mp3Only, m_messageTitle, Prompt::Icon::Information);
        else
            tell(m_texts.notChanged, failures);
        return;
    }
    TagEditDialog dialog(fields, m_texts, m_window);
    if (dialog.exec() != QDialog::Accepted || dialog.changes().isEmpty())
        return;
    apply(paths, dialog.changes());
    // Files that could not even be read are named after the edit of the others.
    if (!failures.isEmpty())
        tell(m_texts.notChanged, failures);
}

int TagEditController::apply(const QStringList& paths, const TagChanges& changes)
{
    std::vector<TagUndo> step;
    QStringList failures;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const QString& path : paths) {
        try {
            step.push_back(TagEdit::apply(path, changes));
        } catch (const TagError& error) {
            failures.append(error.description());
        }
        showRow(path);
    }
    QApplication::restoreOverrideCursor();
    const int written = int(step.size());
    if (!step.empty()) {
        m_undo.push_back(std::move(step));
        if (m_undo.size() > UndoDepth)
            m_undo.erase(m_undo.begin());
    }
    m_undoAction->setEnabled(canUndo());
    emit tagsChanged();
    if (!failures.isEmpty())
        tell(m_texts.notChanged, failures);
    return written;
}

void TagEditController::undoLast()
{
    if (m_undo.empty())
        return;
    const std::vector<TagUndo> step = std::move(m_undo.back());
    m_undo.pop_back();
    QStringList failures;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (auto it = step.rbegin(); it != step.rend(); ++it) {
        try {
            TagEdit::undo(*it);
        } catch (const TagError& error) {
            failures.append(error.description());
        }
        showRow(it->path);
    }
    QApplication::restoreOverrideCursor();
    m_undoAction->setEnabled(canUndo());
    emit tagsChanged();
    if (!failures.isEmpty())
        tell(m_texts.notUndone, failures);
}

// The row listing the file (under the name it was listed by, or the one its link led to) shows
// the tag as it now is on the disk.
void TagEditController::showRow(const QString& path)
{
    int rowId = m_model.rowIdOfPath(path);
    for (int id = 0; rowId < 0 && id < m_model.count(); ++id)
        if (QFileInfo(m_model.rowById(id).path).canonicalFilePath() == path)
            rowId = id;
    if (rowId < 0)
        return;
    const TagColumns columns = readTagColumns(m_model.rowById(rowId).path);
    m_model.setTagColumns(rowId, columns.title, columns.artist, columns.genre);
}

void TagEditController::tell(const QString& heading, const QStringList& failures)
{
    m_prompt.showMessage(heading + QLatin1String("\n\n") + failures.join(QLatin1Char('\n')), m_messageTitle,
                         Prompt::Icon::Warning);
}
