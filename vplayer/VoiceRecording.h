// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The bytes of a voice recording as the player's recorder would make it: a short header and
// 4-bit samples of speech-band audio, enough to look real to anything that opens the file.
#pragma once

#include <cstdint>
#include <string>

namespace VoiceRecording
{

// A recording of the given length at 8000 samples per second, two samples to a byte after a
// 32-byte header ("ZVR1", sample rate, sample count, little-endian). The tone depends on seed so
// that different recordings differ.
std::string make(std::uint32_t seconds, std::uint32_t seed);

} // namespace VoiceRecording
