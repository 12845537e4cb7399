// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The raw 32-byte medium block the capacity call fills. Words are big-endian (high byte first).
//
//   bytes   content
//   0       record version: 1
//   1       medium type: 1 (internal flash)
//   2..4    0
//   5, 6    number of entries on the medium
//   7, 8    unit count            (allocation units of the medium)
//   9, 10   units in use          (whole units: a file of one byte takes a whole unit)
//   11, 12  free units
//   13, 14  0
//   15      firmware present: 1 after a firmware upgrade, else 0
//   16..24  0
//   25, 26  unit size             (512, the sector size)
//   27      first size factor     (8 sectors to a cluster)
//   28      second size factor    (4 and up: clusters to a unit, grown for large media so that
//                                  the unit count fits 16 bits)
//   29..31  0
//
// The program computes total bytes = unit count × second factor × first factor × unit size and
// free bytes = (unit count − units in use) × the same product: the stock player's 7800 units of
// 512 × 8 × 4 bytes give 127,795,200 bytes (122 MBytes).
#pragma once

#include "vplayer/PlayerState.h"

#include <array>
#include <cstdint>

namespace MediumRecord
{

constexpr std::size_t kRawSize = 32;

std::array<std::uint8_t, kRawSize> raw(const PlayerState& state);

} // namespace MediumRecord
