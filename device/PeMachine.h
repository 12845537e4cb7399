// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The machine a Windows DLL or program was built for, read from its PE header: a 64-bit ZVD
// must not try to load a 32-bit device library, and needs to know before it tries.
#pragma once

#include <QString>

#include <cstdint>

namespace PeMachine
{

inline constexpr std::uint16_t I386 = 0x014c;
inline constexpr std::uint16_t Amd64 = 0x8664;

// The COFF machine field of the file, or 0 when it is not a readable PE image.
std::uint16_t of(const QString& path);

} // namespace PeMachine
