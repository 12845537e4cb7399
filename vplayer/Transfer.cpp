// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "Transfer.h"

#include "FileSystem.h"

#include <algorithm>
#include <vector>

namespace Transfer
{

std::string copy(FILE* in, FILE* out, std::uint64_t bytes, std::uint64_t bytesPerSecond,
                 const std::function<bool()>& stillConnected)
{
    constexpr std::uint64_t kChunk = 64 * 1024;
    // At a slow speed, a tenth of a second's worth per chunk keeps the pacing smooth.
    const std::uint64_t chunk =
        bytesPerSecond == 0 ? kChunk : std::clamp<std::uint64_t>(bytesPerSecond / 10, 1, kChunk);
    std::vector<char> buffer(static_cast<std::size_t>(chunk));
    std::uint64_t left = bytes;
    while (left > 0) {
        const std::size_t want = std::size_t(std::min(left, chunk));
        if (std::fread(buffer.data(), 1, want, in) != want)
            return "the source ended early";
        if (std::fwrite(buffer.data(), 1, want, out) != want)
            return "cannot write";
        left -= want;
        if (bytesPerSecond > 0) {
            FileSystem::sleepMilliseconds(std::uint32_t(want * 1000 / bytesPerSecond));
            if (!stillConnected())
                return "the player was detached during the transfer";
        }
    }
    return std::fflush(out) == 0 ? std::string() : "cannot write";
}

} // namespace Transfer
