// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/SelectionSummary.h"

#include "localfiles/LocalFileModel.h"

#include <QItemSelectionModel>

SummaryTexts summaryTexts(const SummaryWords& words, const SummaryFigures& figures,
                          const std::function<QString(int rowId)>& displayName,
                          const mFileAPI::SizeFormatter& formatter)
{
    if (figures.count == 1)
        return {QLatin1String("1 ") + words.singleFile,
                displayName ? displayName(figures.singleRowId) : QString()};
    return {QString::number(figures.count) + QLatin1Char(' ') + words.multiFile,
            formatter.format(figures.total) + QLatin1Char(' ') + words.byte};
}

SummaryFigures GetFileSize(const LocalFileModel& model, const std::function<bool(int position)>& isSelected)
{
    SummaryFigures figures;
    for (int position = 0; position < model.count(); ++position) {
        if (!isSelected(position))
            continue;
        ++figures.count;
        figures.singleRowId = model.rowId(position);
        // A file whose size is unknown still counts as selected but adds nothing.
        if (model.row(position).hasSize())
            figures.total += model.row(position).size;
    }
    if (figures.count != 1)
        figures.singleRowId = -1;
    return figures;
}

SelectionSummary::SelectionSummary(const LocalFileModel& model, QObject* parent)
    : QObject(parent), m_model(model)
{
    reset();
}

void SelectionSummary::track(QItemSelectionModel* selection)
{
    connect(selection, &QItemSelectionModel::selectionChanged, this, &SelectionSummary::apply);
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] {
        reset();
        emit changed();
    });
    // Rows of a folder still being listed come in with new ids, unselected; what is selected stays.
    connect(&m_model, &QAbstractItemModel::rowsInserted, this,
            [this] { m_selected.resize(std::size_t(m_model.count()), 0); });
}

void SelectionSummary::reset()
{
    m_selected.assign(std::size_t(m_model.count()), 0);
    m_figures = SummaryFigures();
    m_idSum = 0;
}

void SelectionSummary::mark(int rowId, bool selected)
{
    if (rowId < 0 || std::size_t(rowId) >= m_selected.size() ||
        bool(m_selected[std::size_t(rowId)]) == selected)
        return;
    m_selected[std::size_t(rowId)] = selected;
    const int step = selected ? 1 : -1;
    m_figures.count += step;
    m_idSum += step * qint64(rowId);
    const LocalFileRow& row = m_model.rowById(rowId);
    if (row.hasSize())
        m_figures.total += step * row.size;
    m_figures.singleRowId = m_figures.count == 1 ? int(m_idSum) : -1;
}

void SelectionSummary::setSelected(int first, int last, bool selected)
{
    if (m_selected.size() != std::size_t(m_model.count()))
        reset();
    for (int position = qMax(0, first); position <= last && position < m_model.count(); ++position)
        mark(m_model.rowId(position), selected);
}

void SelectionSummary::apply(const QItemSelection& selected, const QItemSelection& deselected)
{
    // Ranges span columns too; only rows matter.
    for (const QItemSelectionRange& range : deselected)
        setSelected(range.top(), range.bottom(), false);
    for (const QItemSelectionRange& range : selected)
        setSelected(range.top(), range.bottom(), true);
    emit changed();
}
