// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Moves bytes between a PC file and the player at the emulated link speed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace Transfer
{

// Copies exactly bytes bytes from in to out. With a speed, paces the copy to that many bytes per
// second and asks stillConnected() between chunks, so a player pulled out mid-way ends the
// transfer. Returns an error text, empty on success.
std::string copy(FILE* in, FILE* out, std::uint64_t bytes, std::uint64_t bytesPerSecond,
                 const std::function<bool()>& stillConnected);

} // namespace Transfer
