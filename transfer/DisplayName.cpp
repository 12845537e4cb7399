// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/DisplayName.h"

#include "localfiles/LocalFileRow.h"

namespace
{

constexpr int FileNameOnly = 1;
constexpr int FlagTitle = 2;
constexpr int FlagArtist = 4;
constexpr int FlagGenre = 8;

void appendPart(QString& text, const QString& part)
{
    // An empty column adds nothing when it comes first, but " - " after a non-empty one.
    if (text.isEmpty())
        text = part;
    else
        text += QLatin1String(" - ") + part;
}

} // namespace

QString Disp_Name(int selector, const QString& itemText, const QString& title, const QString& artist,
                  const QString& genre)
{
    QString text;
    if (selector != FileNameOnly) {
        if (selector & FlagTitle)
            text = title;
        if (selector & FlagArtist)
            appendPart(text, artist);
        if (selector & FlagGenre)
            appendPart(text, genre);
    }
    if (text.isEmpty()) {
        text = itemText.chopped(qMin<qsizetype>(4, itemText.size()));
        // A name of four characters or fewer would leave the LCD blank: show it whole.
        if (text.isEmpty())
            text = itemText;
    }
    return text;
}

QString Disp_Name(int selector, const LocalFileRow& row)
{
    return Disp_Name(selector, row.name, row.title, row.artist, row.genre);
}
