// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The tags of a file in one of the converted formats (FLAC, MP4, Ogg, WAV), read with TagLib:
// what the PC list shows for it and what its MP3 carries after conversion.
#pragma once

#include "audio/TagColumns.h"

#include <QByteArray>
#include <QString>

struct SourceTags {
    QString title;
    QString artist;
    QString album;
    QString genre;
    QString albumArtist; // empty: none
    int year = 0;        // 0: none
    int track = 0;       // 0: none
    int disc = 0;        // 0: none
    QByteArray cover;    // the front cover (else the first picture), as stored
    QString coverMime;

    // Never throws: a file that cannot be read gives empty tags.
    static SourceTags read(const QString& path, bool withCover = true);

    // The list's columns: title, artist, genre, cut as the list cuts MP3 tag texts.
    TagColumns columns() const;
};

// The columns of such a file; empty when the build has no TagLib or the file cannot be read.
TagColumns readSourceColumns(const QString& path);
