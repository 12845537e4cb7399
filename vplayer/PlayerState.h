// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Everything the virtual player remembers between calls: attachment, memory size, the ordered
// entry list, the firmware and the test knobs (injected failures, link speed).
#pragma once

#include "MediumGeometry.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One file on the player. Names are bytes in the PC's ANSI code page, as the PC sent them.
struct StoredEntry {
    std::string longName;
    std::string shortBase;      // up to 8 characters
    std::string shortExtension; // up to 3 characters, upper case
    std::uint64_t size = 0;
    std::uint64_t blob = 0; // number of the data file that holds the bytes

    // "BASE.EXT" (or "BASE." without an extension), as the program forms it.
    std::string shortName() const { return shortBase + '.' + shortExtension; }
};

struct PlayerState {
    bool attached = false;
    // Changes on every attach and detach, so a connection opened before a detach stays dead
    // after the player comes back.
    std::uint32_t generation = 0;
    MediumGeometry geometry;
    std::uint64_t nextBlob = 1;
    std::uint64_t bytesPerSecond = 0; // 0: no emulated link speed
    std::string firmwareName;         // empty until a firmware upgrade
    std::uint64_t firmwareSize = 0;
    std::map<std::string, std::uint32_t> failures; // call → how many calls until the failing one
    std::vector<StoredEntry> entries;

    std::uint64_t unitsInUse() const;
    std::uint64_t freeUnits() const;
    std::uint64_t freeBytes() const { return freeUnits() * geometry.unitBytes(); }

    // Counts a call of the named function against the injected failures: true when this very
    // call is the one that must fail (the failure is then used up).
    bool takeFailure(std::string_view call);

    // The state as a line-oriented text file, and back. parse() returns nullopt for anything it
    // does not fully understand, so a damaged file is never half-read.
    std::string serialize() const;
    static std::optional<PlayerState> parse(std::string_view text);
};
