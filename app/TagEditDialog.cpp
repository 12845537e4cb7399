// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/TagEditDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace
{

// Genre items carry their number; these two stand for "no genre" and "as each file has it".
constexpr int KeepGenre = -1;
constexpr int NoGenreItem = 255;

// Whether every file has the same value of a field, and which.
template <class Get> std::pair<bool, QString> common(const QList<TagFields>& files, Get get)
{
    const QString first = files.isEmpty() ? QString() : get(files.first());
    for (const TagFields& file : files)
        if (get(file) != first)
            return {false, QString()};
    return {true, first};
}

} // namespace

TagEditDialog::TagEditDialog(const QList<TagFields>& files, const TagEditTexts& texts, QWidget* parent)
    : QDialog(parent), m_texts(texts)
{
    setWindowTitle(texts.caption);
    setMinimumWidth(420); // room for a whole title or album name
    auto* layout = new QVBoxLayout(this);
    if (files.size() > 1) {
        auto* note = new QLabel(texts.severalFiles.arg(files.size()), this);
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    m_form = new QFormLayout;
    layout->addLayout(m_form);
    const auto line = [&](const QString& label, QString TagFields::*field) {
        const auto [agree, value] = common(files, [field](const TagFields& f) { return f.*field; });
        return addLine(label, value, agree);
    };
    m_title = line(texts.title, &TagFields::title);
    m_artist = line(texts.artist, &TagFields::artist);
    m_album = line(texts.album, &TagFields::album);

    m_genre = new QComboBox(this);
    m_genre->setObjectName(QStringLiteral("genre"));
    const auto [sameGenre, genreText] = common(files, [](const TagFields& f) { return f.genre; });
    if (!sameGenre || (!genreText.isEmpty() && TagEdit::genreNumber(genreText) < 0)) {
        // Files that differ, or a genre of the files' own that the list does not name.
        m_genre->addItem(sameGenre ? genreText : texts.keep, KeepGenre);
    }
    m_genre->addItem(QString(), NoGenreItem);
    for (const auto& [number, name] : TagEdit::genreList())
        m_genre->addItem(name, int(number));
    const int known =
        sameGenre && !genreText.isEmpty() ? m_genre->findData(TagEdit::genreNumber(genreText)) : -1;
    m_genreStart = sameGenre && genreText.isEmpty() ? m_genre->findData(NoGenreItem) : known >= 0 ? known : 0;
    m_genre->setCurrentIndex(m_genreStart);
    m_form->addRow(texts.genre, m_genre);
    qobject_cast<QLabel*>(m_form->labelForField(m_genre))->setBuddy(m_genre);

    m_year = line(texts.year, &TagFields::year);
    m_year->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), m_year));
    m_track = line(texts.track, &TagFields::track);
    m_track->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("([0-9]{1,3}(/[0-9]{0,3})?)?")), m_track));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_title->setFocus();
}

QLineEdit* TagEditDialog::addLine(const QString& label, const QString& common, bool agree)
{
    auto* edit = new QLineEdit(this);
    if (agree)
        edit->setText(common);
    else
        edit->setPlaceholderText(m_texts.keep);
    m_form->addRow(label, edit);
    return edit;
}

TagChanges TagEditDialog::changes() const
{
    TagChanges changes;
    // isModified: typed into by the user; a field with "<keep>" that was never touched stays out.
    const auto take = [](const QLineEdit* edit, std::optional<QString>& change) {
        if (edit->isModified())
            change = edit->text();
    };
    take(m_title, changes.title);
    take(m_artist, changes.artist);
    take(m_album, changes.album);
    take(m_year, changes.year);
    QString track = m_track->text();
    if (m_track->isModified()) {
        if (track.endsWith(QLatin1Char('/')))
            track.chop(1); // "3/" while typing the count means track 3
        changes.track = track;
    }
    const int genre = m_genre->currentData().toInt();
    if (m_genre->currentIndex() != m_genreStart && genre != KeepGenre)
        changes.genre = quint8(genre);
    return changes;
}
