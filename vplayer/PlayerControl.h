// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The test bench's handles on the virtual player (used by zvdsim): plugging it in and out,
// starting afresh, slowing the link and arming failures of single library calls.
#pragma once

#include "vplayer/PlayerStore.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace PlayerControl
{

// The device library's functions, by the names failures are armed with.
constexpr std::array<std::string_view, 16> kCalls = {
    "StartDLL", "ExitDLL",   "TestConnection",  "Open",           "Close",    "GetMediumInfo",
    "Refresh",  "Rename",    "Replace",         "Delete",         "Download", "Upload",
    "Format",   "FormatLow", "ConvertHexToBin", "UpgradeFirmware"};

// The name in kCalls that call means, letter case ignored, with or without the library's
// "TCC730_" prefix.
std::optional<std::string_view> callName(std::string_view call);

std::string attach(const PlayerStore& store);
std::string detach(const PlayerStore& store);

// Empties the player, forgets its firmware, failures and speed, and gives it the capacity
// (default: the stock 127,795,200 bytes). Attachment stays as it was.
std::string reset(const PlayerStore& store, std::optional<std::uint64_t> capacity);

std::string setSpeed(const PlayerStore& store, std::uint64_t bytesPerSecond);

// The nth next call of the function fails; n = 0 disarms it.
std::string armFailure(const PlayerStore& store, std::string_view call, std::uint32_t nth);

} // namespace PlayerControl
