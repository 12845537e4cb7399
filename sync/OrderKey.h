// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The album order of music files: album artist, album, disc, track number, then file name. The
// tags give each part; where a tag is missing the file's path stands in.
#pragma once

#include <QString>

struct OrderKey {
    QString albumArtist;
    QString album;
    int disc = 0;
    int track = 0;

    bool operator==(const OrderKey&) const = default;
};

namespace OrderKeys
{

// From the file's ID3v2 tag (TPE2, else TPE1; TALB; TPOS; TRCK), else its ID3v1 tag; for a file
// that is converted on its way, from its own tags (FLAC, MP4, Ogg, WAV). Without an
// album the folder part of relativePath names it; without a track number, the digits the file
// name starts with ("07 Song.mp3"). Files whose tags cannot be read get the path parts alone.
OrderKey read(const QString& path, const QString& relativePath);

// The number a text such as "3/12" or " 07" starts with; 0 when none.
int leadingNumber(const QString& text);

// Album order; file names (then the rest of the path) break ties.
bool before(const OrderKey& a, const QString& nameA, const OrderKey& b, const QString& nameB);

} // namespace OrderKeys
