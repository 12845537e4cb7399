// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Small tagged MP3 files for the sync tests.
#pragma once

#include <QByteArray>
#include <QString>

namespace SyncFixtures
{

struct Tags {
    QString albumArtist; // TPE2; empty: no frame
    QString artist;      // TPE1
    QString album;       // TALB
    QString disc;        // TPOS
    QString track;       // TRCK
    QString title;       // TIT2
};

// An ID3v2.3 tag with the given frames, then `frames` audio frames (417 bytes each).
QByteArray taggedMp3(const Tags& tags, int frames = 2);

// Writes bytes to folder/relativePath, making the folders between; returns the path.
QString put(const QString& folder, const QString& relativePath, const QByteArray& bytes);

} // namespace SyncFixtures
