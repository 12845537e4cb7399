// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/Transfer.h"

#include "vplayer/FileSystem.h"

#include <algorithm>
#include <vector>

#ifdef __linux__
#include <cerrno>
#include <unistd.h>
#endif

namespace Transfer
{
namespace
{

#ifdef __linux__
// Without a speed to emulate, the kernel copies the bytes itself, file to file, with no trip
// through this process (and shares the blocks where the file system can). Returns the bytes
// copied before it had to stop; the caller copies the rest by hand. Both files must be fresh:
// nothing read from in, nothing written to out.
std::uint64_t copyInKernel(FILE* in, FILE* out, std::uint64_t bytes)
{
    std::uint64_t done = 0;
    while (done < bytes) {
        const ssize_t got =
            ::copy_file_range(::fileno(in), nullptr, ::fileno(out), nullptr,
                              std::size_t(std::min<std::uint64_t>(bytes - done, 1u << 30)), 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break; // not supported here, or the source ended: the loop below tells which
        done += std::uint64_t(got);
    }
    return done;
}
#endif

} // namespace

std::string copy(FILE* in, FILE* out, std::uint64_t bytes, std::uint64_t bytesPerSecond,
                 const std::function<bool()>& stillConnected)
{
    constexpr std::uint64_t kChunk = 64 * 1024;
    // At a slow speed, a tenth of a second's worth per chunk keeps the pacing smooth.
    const std::uint64_t chunk =
        bytesPerSecond == 0 ? kChunk : std::clamp<std::uint64_t>(bytesPerSecond / 10, 1, kChunk);
    std::uint64_t left = bytes;
#ifdef __linux__
    if (bytesPerSecond == 0 && std::ftell(in) == 0 && std::ftell(out) == 0)
        left -= copyInKernel(in, out, bytes);
#endif
    std::vector<char> buffer(static_cast<std::size_t>(std::min(chunk, std::max<std::uint64_t>(left, 1))));
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
