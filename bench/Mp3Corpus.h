// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Writes a folder of small MP3 files with the mix of tags found in real collections: none,
// ID3v1, ID3v2.3 (code page and UTF-16), ID3v2.4 (UTF-8), both versions, and a cover picture.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace Mp3Corpus
{

// Writes count files into dir (which must exist); returns their paths, or an empty list when a
// file cannot be written.
QStringList generate(const QString& dir, int count);

// A temporary folder "music" holding count corpus files, removed with the object. folder is
// empty when the files could not be written.
struct Folder {
    QTemporaryDir root;
    QString folder;
    explicit Folder(int count)
    {
        folder = root.filePath(QStringLiteral("music"));
        QDir().mkpath(folder);
        if (generate(folder, count).size() != count)
            folder.clear();
    }
};

} // namespace Mp3Corpus
