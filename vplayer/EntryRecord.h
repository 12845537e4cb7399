// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The 300-byte record the listing call fills for each entry.
//
//   offset  size  content
//        0     8  short name, zero-padded
//        8     1  0
//        9     8  extension, zero-padded (3 characters at most)
//       17     1  FAT attribute byte: 0x20 (archive)
//       18    14  0
//       32     4  stored size in bytes, signed 32-bit little-endian
//       36   260  long name, zero-terminated (255 bytes at most)
//      296     4  the entry's index, unsigned 32-bit little-endian
#pragma once

#include "vplayer/PlayerState.h"

#include <cstdint>

namespace EntryRecord
{

constexpr std::size_t kSize = 300;

void fill(const StoredEntry& entry, std::uint32_t index, std::uint8_t* record);

} // namespace EntryRecord
