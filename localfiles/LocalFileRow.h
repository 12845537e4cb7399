// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// One row of the local file list: a file of the folder shown, with its size and tag columns.
#pragma once

#include <QString>

struct LocalFileRow {
    QString name;     // file name without folder (item text)
    QString path;     // folder with separator, then the name (the item's tag)
    qint64 size = -1; // bytes; -1 when the file system could not tell
    QString sizeText; // the size as the size column shows it; empty when the size is unknown
    QString title;    // ID3 columns, MP3 files only
    QString artist;
    QString genre;
    // Listed by name only: size and tag columns are still to be read (see completeRow).
    bool pending = false;

    bool hasSize() const { return size >= 0; }
};
