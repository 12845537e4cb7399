// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A key's discretionary access list as the cleanup reads, widens and writes it back: entries read
// from a key are kept byte for byte, the one entry made here is built from its parts.
#pragma once

#include <cstdint>
#include <vector>

namespace usbclean
{

// A security identifier in its binary form.
using Sid = std::vector<std::uint8_t>;

class AccessEntry
{
public:
    // An access-allowed entry made here (the Windows backend adds it with AddAccessAllowedAce).
    static AccessEntry allow(std::uint32_t mask, const Sid& sid);
    // An entry exactly as read from a key (added back with AddAce).
    static AccessEntry stored(std::vector<std::uint8_t> bytes);

    bool madeHere() const { return m_madeHere; }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::uint32_t byteSize() const { return static_cast<std::uint32_t>(m_bytes.size()); }

    // The parts of an allowed or denied entry; 0 / empty when the bytes are too short for them.
    std::uint8_t type() const;
    std::uint32_t mask() const;
    Sid sid() const;

    // True when this is an allowed entry granting every right of `rights` to `sid`.
    bool allows(const Sid& sid, std::uint32_t rights) const;

private:
    AccessEntry(std::vector<std::uint8_t> bytes, bool madeHere);

    std::vector<std::uint8_t> m_bytes;
    bool m_madeHere = false;
};

struct AccessList {
    // The declared size in bytes, header included; may exceed what the entries use.
    std::uint32_t byteSize = 0;
    std::vector<AccessEntry> entries;
};

// The list that gives `sid` full access ahead of every entry of `old`, sized as the old list
// plus one allowed entry for `sid`.
AccessList widenedAccessList(const AccessList& old, const Sid& sid, std::uint32_t mask);

} // namespace usbclean
