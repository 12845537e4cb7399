// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The Title, Artist and Genre texts the local file list shows for one MP3 file: the ID3v2 tag
// when the file has one, else the ID3v1 tag. Built for listing whole folders: one open and a
// few bounded reads per file.
#pragma once

#include <QString>

class QIODevice;

struct TagColumns {
    QString title;
    QString artist;
    QString genre;

    bool operator==(const TagColumns&) const = default;
};

// Texts are shown up to this many characters: in the list, on the player's LCD, in zvdctl's
// output. A title of megabytes is damage, not a title.
inline constexpr qsizetype ShownTextLimit = 4096;

// The text as far as it is shown: its first ShownTextLimit characters.
QString shownText(const QString& text);

// The version 2 tag gives the columns unless it yields none of the three; then the version 1 tag
// does. Several genres of one frame are shown joined by " / ". Texts are cut by shownText.
// Never throws: a file that cannot be opened or read gives three empty texts, as the list
// keeps empty tag columns for such a file. Each text ends at its first NUL and has no trailing
// blanks (ID3v1 fields are padded), as the list and the LCD title show it.
TagColumns readTagColumns(const QString& path);

// The same for already opened data (a file or a buffer); read errors are raised as TagError.
TagColumns readTagColumns(QIODevice& device);

// The same for a file already open (a scan opens each file once, relative to its folder);
// never throws, like the path form.
class ReadOnlyFile;
TagColumns readTagColumns(ReadOnlyFile& file);
