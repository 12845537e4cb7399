// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Writes a folder of small MP3 files with the mix of tags found in real collections: none,
// ID3v1, ID3v2.3 (code page and UTF-16), ID3v2.4 (UTF-8), both versions, and a cover picture.
#pragma once

#include <QString>
#include <QStringList>

namespace Mp3Corpus {

// Writes count files into dir (which must exist); returns their paths, or an empty list when a
// file cannot be written.
QStringList generate(const QString& dir, int count);

} // namespace Mp3Corpus
