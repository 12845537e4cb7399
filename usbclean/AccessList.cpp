// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "usbclean/AccessList.h"

#include "usbclean/Win32Values.h"

#include <utility>

namespace usbclean
{

namespace
{
constexpr std::size_t MaskOffset = 4;
constexpr std::size_t SidOffset = 8;
} // namespace

AccessEntry::AccessEntry(std::vector<std::uint8_t> bytes, bool madeHere)
    : m_bytes(std::move(bytes)), m_madeHere(madeHere)
{
}

AccessEntry AccessEntry::allow(std::uint32_t mask, const Sid& sid)
{
    const std::uint32_t size = win32::AllowedAceFixedSize + static_cast<std::uint32_t>(sid.size());
    std::vector<std::uint8_t> bytes{win32::AccessAllowedAceType, 0, static_cast<std::uint8_t>(size & 0xFF),
                                    static_cast<std::uint8_t>(size >> 8)};
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(mask >> shift));
    bytes.insert(bytes.end(), sid.begin(), sid.end());
    return AccessEntry(std::move(bytes), true);
}

AccessEntry AccessEntry::stored(std::vector<std::uint8_t> bytes)
{
    return AccessEntry(std::move(bytes), false);
}

std::uint8_t AccessEntry::type() const
{
    return m_bytes.empty() ? 0 : m_bytes[0];
}

std::uint32_t AccessEntry::mask() const
{
    if (m_bytes.size() < SidOffset)
        return 0;
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < 4; ++i)
        mask |= static_cast<std::uint32_t>(m_bytes[MaskOffset + i]) << (8 * i);
    return mask;
}

Sid AccessEntry::sid() const
{
    if (m_bytes.size() <= SidOffset)
        return {};
    return Sid(m_bytes.begin() + SidOffset, m_bytes.end());
}

bool AccessEntry::allows(const Sid& sid, std::uint32_t rights) const
{
    return type() == win32::AccessAllowedAceType && (mask() & rights) == rights && this->sid() == sid;
}

AccessList widenedAccessList(const AccessList& old, const Sid& sid, std::uint32_t mask)
{
    AccessList widened;
    widened.byteSize = old.byteSize + static_cast<std::uint32_t>(sid.size()) + win32::AllowedAceFixedSize;
    widened.entries.reserve(old.entries.size() + 1);
    widened.entries.push_back(AccessEntry::allow(mask, sid));
    widened.entries.insert(widened.entries.end(), old.entries.begin(), old.entries.end());
    return widened;
}

} // namespace usbclean
