// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player's folder on the PC: the state file, the lock that guards it and the data files
// that hold the entries' bytes. Every change goes through transact(), which runs under the
// lock and appends one checksummed record to the state file's journal (StateFile), so
// processes sharing the player never see a half-made change. Each process keeps the state it
// last read; under the lock, the file's epoch and length tell whether that is still current,
// and only records other processes appended since are read. A call therefore costs the same
// on a player of 30,000 entries as on an empty one; only the rare rewrite of the whole file
// (when the journal has grown as long as the snapshot) depends on the number of entries.
#pragma once

#include "vplayer/PlayerState.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class PlayerStore
{
public:
    // A change in progress: the state as loaded, whether it was changed, and files to remove
    // once the new state is safely in place.
    struct Transaction {
        PlayerState& state;
        // Changes to the state are found by themselves; changed asks for the file to be written
        // even when nothing differs (so a first attach leaves a state file behind).
        bool changed = false;
        // Write a fresh snapshot instead of journal records (after replacing the whole state).
        bool rewrite = false;
        std::vector<std::string> garbage;
    };
    // Returns an error text, empty on success.
    using Change = std::function<std::string(Transaction&)>;
    using Inspection = std::function<void(const PlayerState&)>;

    explicit PlayerStore(std::string folder);

    // ZVD_PLAYER_DIR, else the user's data folder + ZVD/player.
    static std::string defaultFolder();

    const std::string& folder() const { return m_folder; }
    std::string blobPath(std::uint64_t blob) const;
    std::string dataFolder() const;
    std::string firmwareFolder() const;
    // Bytes on their way in wait in a folder of their own, apart from the data files, so that
    // looking for parts left behind costs the same on a full player as on an empty one.
    std::string incomingFolder() const;
    // A fresh name in the incoming folder for bytes still on their way in: "incoming-PID-N.part".
    std::string incomingPath() const;
    // Removes the incoming parts whose process no longer runs (a PC program killed during a
    // transfer). Parts of running processes and every other file stay.
    void removeStaleIncoming() const;

    // Brings the state up to date under the lock, runs change, saves what it changed (even when
    // change reports an error: a used-up injected failure must stay used up), then removes the
    // garbage. With create false a missing player folder is an error ("no player")
    // rather than being created: merely polling must not leave folders behind. With
    // discardDamaged a state file that cannot be read is replaced by a fresh state (for reset).
    std::string transact(const Change& change, bool create, bool discardDamaged = false) const;

    // Runs look on the state as it is now, under the lock and without copying it. A player that
    // was never set up looks like a fresh, detached one. Returns an error text, empty on success.
    std::string inspect(const Inspection& look) const;

    // A copy of the state as it is now; nullopt with the reason in *error when it cannot be read.
    std::optional<PlayerState> read(std::string* error = nullptr) const;

    // Data files that no entry of state refers to: left behind by a crash, by a file that was
    // busy when its entry went, or (when wiping) bytes another process is still receiving, whose
    // download then fails cleanly.
    std::vector<std::string> unreferencedFiles(const PlayerState& state) const;

    std::string statePath() const;

private:
    struct Cache;
    static std::shared_ptr<Cache> cacheFor(const std::string& folder);
    std::string lockPath() const;
    bool load(Cache& cache, std::string& error) const;
    bool save(Cache& cache, const std::string& records, bool rewrite) const;

    std::string m_folder;
};
