// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The size of the virtual player's memory, in the terms its medium record reports: a number of
// allocation units, each of unitSize × factor1 × factor2 bytes.
#pragma once

#include <cstdint>
#include <optional>

struct MediumGeometry {
    // The stock player: 7800 units of 512 × 8 × 4 = 16384 bytes, 127,795,200 bytes in all.
    std::uint16_t unitCount = 7800;
    std::uint16_t unitSize = 512;
    std::uint8_t factor1 = 8;
    std::uint8_t factor2 = 4;

    std::uint64_t unitBytes() const { return std::uint64_t(unitSize) * factor1 * factor2; }
    std::uint64_t totalBytes() const { return unitBytes() * unitCount; }

    // Units a file of this many bytes occupies: whole units, none for an empty file.
    std::uint64_t unitsFor(std::uint64_t bytes) const { return (bytes + unitBytes() - 1) / unitBytes(); }

    // The geometry closest to, and not above, the given capacity: 512-byte units grouped by 8 and
    // by the smallest power of two from 4 up that keeps the unit count within 16 bits. nullopt when
    // the capacity is below one unit or above what 16-bit counts can describe (about 32 GiB).
    static std::optional<MediumGeometry> forCapacity(std::uint64_t bytes);

    bool valid() const { return unitCount > 0 && unitSize > 0 && factor1 > 0 && factor2 > 0; }
    bool operator==(const MediumGeometry&) const = default;
};
