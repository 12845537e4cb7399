// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/options/DisplayNameChoice.h"

namespace
{
constexpr int TitleFlag = 2;
constexpr int ArtistFlag = 4;
constexpr int GenreFlag = 8;
} // namespace

DisplayNameChoice DisplayNameChoice::fromSelector(int selector)
{
    DisplayNameChoice choice;
    choice.fileName = selector == 1;
    if (!choice.fileName) {
        choice.title = (selector & TitleFlag) != 0;
        choice.artist = (selector & ArtistFlag) != 0;
        choice.genre = (selector & GenreFlag) != 0;
    }
    return choice;
}

int DisplayNameChoice::selector() const
{
    if (fileName)
        return 1;
    return (title ? TitleFlag : 0) + (artist ? ArtistFlag : 0) + (genre ? GenreFlag : 0);
}

QString DisplayNameChoice::preview(const QString& fileNameCaption, const QStringList& fieldCaptions) const
{
    if (fileName)
        return CaptionText(fileNameCaption);
    const bool ticked[] = {title, artist, genre};
    QStringList parts;
    for (qsizetype i = 0; i < 3 && i < fieldCaptions.size(); ++i) {
        if (ticked[i])
            parts.append(CaptionText(fieldCaptions[i]));
    }
    return parts.join(QStringLiteral(" - "));
}

QString CaptionText(const QString& caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                text.append(caption[++i]);
            continue;
        }
        text.append(caption[i]);
    }
    return text;
}
