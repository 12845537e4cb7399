// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Turns an Intel HEX firmware file into the flat binary image the player's loader takes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace IntelHex
{

// The largest image accepted; a file whose addresses span more is refused rather than
// allocated.
constexpr std::uint64_t kMaxImage = 16u * 1024 * 1024;

// Converts HEX text with data (00), end-of-file (01), extended segment address (02) and extended
// linear address (04) records; start-address records (03, 05) are accepted and carry nothing
// for the image. Every record's checksum is verified, the end-of-file record is required, and
// data may not overlap. The image runs from the lowest address written to the highest, gaps
// filled with 0xFF (erased flash), padded with 0xFF to a whole number of blocks. nullopt on any
// fault, with the reason in *error when given.
std::optional<std::string> toBinary(std::string_view text, std::uint32_t blockSize,
                                    std::string* error = nullptr);

} // namespace IntelHex
