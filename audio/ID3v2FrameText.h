// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The text value of one ID3v2 frame's data: what the model keeps for the frame.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace ID3v2FrameText
{

// Data that starts with a text-encoding byte (0 code page, 1 UTF-16 with byte-order mark,
// 2 UTF-16BE, 3 UTF-8) is decoded in that encoding, one terminating NUL at its very end is
// ignored, and the value is the part after the last remaining NUL (which drops descriptions).
// COMM and USLT in UTF-16 skip their language code; the URL of WXXX is single-byte text in every
// encoding. In these three and TXXX a final NUL with no description NUL before it ends the description:
// their text is then empty. Any other data is read in the code page with the double-byte pairing
// rule and the value is the part after its last NUL, the whole text when it holds none.
QString value(QStringView frameId, QByteArrayView data);

// The values of a text frame: its text split at NUL characters, empty parts left out. Version 2.4
// keeps several genres in one TCON frame this way.
QStringList values(QByteArrayView data);

// The name a genre value stands for: "(17)", "(17)Rock music" and "17" give the name of genre
// 17; any other value is its own name.
QString genreText(const QString& value);

// What the list's genre column shows for the values of a TCON frame: their names joined by " / ".
QString genreColumn(const QStringList& values);

// TCON values such as "(17)", "(17)Rock music", "17" or "Techno": a number in parentheses, or
// digits alone, set genre; otherGenreName gets the text after it, or the number's name when at
// most one character follows. Without a usable number, otherGenreName is the whole value.
// Further values are added to otherGenreName by name, after " / ".
void applyContentType(const QStringList& values, quint8& genre, QString& otherGenreName);

} // namespace ID3v2FrameText
