// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/MediumRecord.h"

#include <algorithm>

namespace MediumRecord
{
namespace
{

void putWord(std::array<std::uint8_t, kRawSize>& raw, std::size_t at, std::uint64_t value)
{
    const auto word = std::uint16_t(std::min<std::uint64_t>(value, 0xFFFF));
    raw[at] = std::uint8_t(word >> 8);
    raw[at + 1] = std::uint8_t(word & 0xFF);
}

} // namespace

std::array<std::uint8_t, kRawSize> raw(const PlayerState& state)
{
    std::array<std::uint8_t, kRawSize> raw{};
    const std::uint64_t used = std::min<std::uint64_t>(state.unitsInUse(), state.geometry.unitCount);
    raw[0] = 1;
    raw[1] = 1;
    putWord(raw, 5, state.entries().size());
    putWord(raw, 7, state.geometry.unitCount);
    putWord(raw, 9, used);
    putWord(raw, 11, state.geometry.unitCount - used);
    raw[15] = state.firmwareName.empty() ? 0 : 1;
    putWord(raw, 25, state.geometry.unitSize);
    raw[27] = state.geometry.factor1;
    raw[28] = state.geometry.factor2;
    return raw;
}

} // namespace MediumRecord
