// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The Win32 numbers the cleanup works with, spelt out so that the sequence also builds (and is
// tested) where <windows.h> does not exist. The Windows backend checks them against the SDK.
#pragma once

#include <cstdint>

namespace usbclean::win32
{

// Error codes of the registry functions.
inline constexpr long ErrorSuccess = 0;
inline constexpr long ErrorFileNotFound = 2;
inline constexpr long ErrorAccessDenied = 5;
inline constexpr long ErrorInvalidHandle = 6;
inline constexpr long ErrorInsufficientBuffer = 122;
inline constexpr long ErrorMoreData = 234;
inline constexpr long ErrorNoMoreItems = 259;
inline constexpr long ErrorKeyDeleted = 1018;

// Access rights.
inline constexpr std::uint32_t KeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t Delete = 0x00010000;
inline constexpr std::uint32_t ReadControl = 0x00020000;
inline constexpr std::uint32_t WriteDac = 0x00040000;
inline constexpr std::uint32_t KeyAllAccess = 0x000F003F;
// Registry views of 64-bit Windows, added to the access of an open or a delete.
inline constexpr std::uint32_t KeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t KeyWow64_32Key = 0x0200;

// Platform identifier of the NT family in the version query.
inline constexpr std::uint32_t PlatformWin32Nt = 2;

// Message box style and answers, restart flag.
inline constexpr std::uint32_t MbYesNo = 0x0004;
inline constexpr std::uint32_t MbIconWarning = 0x0030;
inline constexpr std::uint32_t MbSystemModal = 0x1000;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;
inline constexpr std::uint32_t EwxReboot = 0x0002;

// Access entries.
inline constexpr std::uint8_t AccessAllowedAceType = 0;
inline constexpr std::uint32_t AceHeaderSize = 4;
// Header plus mask: an allowed entry is this many bytes plus its identifier.
inline constexpr std::uint32_t AllowedAceFixedSize = 8;
inline constexpr std::uint32_t AclHeaderSize = 8;
inline constexpr std::uint32_t MaxAclSize = 0xFFFF;
// Limit of a key name as the enumeration delivers it, terminating zero included.
inline constexpr std::uint32_t KeyNameBufferSize = 261;

} // namespace usbclean::win32
