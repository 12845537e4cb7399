// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/MediumGeometry.h"

std::optional<MediumGeometry> MediumGeometry::forCapacity(std::uint64_t bytes)
{
    for (unsigned factor2 = 4; factor2 <= 128; factor2 *= 2) {
        MediumGeometry geometry;
        geometry.factor2 = std::uint8_t(factor2);
        const std::uint64_t units = bytes / geometry.unitBytes();
        if (units == 0)
            return std::nullopt;
        if (units <= 0xFFFF) {
            geometry.unitCount = std::uint16_t(units);
            return geometry;
        }
    }
    return std::nullopt;
}
