// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Where a file's ID3v2 tag starts: "ID3" searched for before the first audio frame.
#pragma once

#include <QtGlobal>

class FileWindow;

namespace ID3v2Locator
{

inline constexpr qint64 ChunkSize = 4096;

// The 1-based file position of the byte that follows "ID3" (the version byte), or 0 when no
// "ID3" comes before a chunk that holds the start of an MPEG Layer III frame.
qint64 FindTag(FileWindow& file);

} // namespace ID3v2Locator
