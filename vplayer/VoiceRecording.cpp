// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/VoiceRecording.h"

#include <cmath>

namespace VoiceRecording
{
namespace
{

constexpr std::uint32_t kSampleRate = 8000;
constexpr std::size_t kHeaderSize = 32;

void putLittleEndian(std::string& out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char(std::uint8_t(value >> (8 * i)));
}

std::uint8_t sample(std::uint32_t n, double frequency)
{
    const double t = double(n) / kSampleRate;
    // A tone with a slow swell, like a voice rising and falling.
    const double value = std::sin(2 * 3.14159265358979 * frequency * t) * (0.5 + 0.5 * std::sin(3.0 * t));
    return std::uint8_t(std::lround((value + 1.0) * 7.5)) & 0x0F;
}

} // namespace

std::string make(std::uint32_t seconds, std::uint32_t seed)
{
    const std::uint32_t samples = seconds * kSampleRate;
    std::string out(kHeaderSize + samples / 2, '\0');
    out.replace(0, 4, "ZVR1");
    putLittleEndian(out, 4, kSampleRate);
    putLittleEndian(out, 8, samples);
    const double frequency = 180.0 + double(seed % 200);
    for (std::uint32_t n = 0; n + 1 < samples; n += 2)
        out[kHeaderSize + n / 2] = char(sample(n, frequency) << 4 | sample(n + 1, frequency));
    return out;
}

} // namespace VoiceRecording
