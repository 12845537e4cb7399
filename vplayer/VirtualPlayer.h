// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// What the player does with its entries: store, fetch, delete, swap, rename, format, take a
// firmware image. Shared by the device library (acting for the PC through a connection) and by
// zvdsim (acting as the player itself). Every operation returns an error text, empty on success.
#pragma once

#include "vplayer/PlayerStore.h"
#include "vplayer/ShortName.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

// Who asks. The PC asks through a connection opened in one attach generation; it loses access
// when the player is detached. The player itself (zvdsim) may act while detached.
struct Access {
    bool viaConnection = false;
    std::uint32_t generation = 0;

    static Access player() { return {}; }
    static Access connection(std::uint32_t generation) { return {true, generation}; }
};

class VirtualPlayer
{
public:
    explicit VirtualPlayer(PlayerStore store) : m_store(std::move(store)) {}
    const PlayerStore& store() const { return m_store; }

    // Stores a PC file under its file name as the last entry. Fails when the name is not a valid
    // FAT long name, an entry of that name exists (letter case ignored), the file is 2 GiB or
    // larger, or it does not fit in the free units.
    std::string download(const std::string& sourcePath, const Access& access) const;
    // The same for bytes made on the player itself (a voice recording).
    std::string addBytes(const std::string& longName, const std::string& bytes) const;

    // Writes the first byteCount bytes of an entry to target (replacing it in one step). name,
    // when not empty, must be the entry's long name or 8.3 name, so a stale index cannot fetch
    // or delete the wrong file.
    std::string upload(std::uint32_t index, std::string_view name, std::int64_t byteCount,
                       const std::string& target, const Access& access) const;
    std::string remove(std::uint32_t index, std::string_view name, const Access& access) const;

    // Swaps two neighbouring entries.
    std::string swap(std::uint32_t a, std::uint32_t b, const Access& access) const;

    // Renames an entry; expected is the 8.3 name the caller last saw at that index.
    std::string rename(std::uint32_t index, std::string_view newName, const ShortName::Name& expected,
                       const Access& access) const;

    // Empties the memory; the low-level format also sweeps stray data files.
    std::string format(bool lowLevel, const Access& access) const;

    // Keeps the image under the firmware file's name.
    std::string upgradeFirmware(const std::string& imagePath, const std::string& firmwareName,
                                const Access& access) const;

private:
    // write gets the file to fill and the speed to emulate (bytes per second, 0: no limit), as
    // read under the same lock that admitted the file.
    std::string receive(const std::string& longName, std::uint64_t size,
                        const std::function<std::string(FILE*, std::uint64_t)>& write,
                        const Access& access) const;
    bool stillConnected(const Access& access) const;

    PlayerStore m_store;
};

// Whether access is still good for state: an open connection needs the player attached and
// in the same attach generation.
std::string checkAccess(const PlayerState& state, const Access& access);
