// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player's folder on the PC: the state file, the lock that guards it and the data files
// that hold the entries' bytes. Every change goes through transact(), which runs under the
// lock and replaces the state file in one rename, so processes sharing the player never see a
// half-written state.
#pragma once

#include "PlayerState.h"

#include <cstdint>
#include <functional>
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
        bool changed = false;
        std::vector<std::string> garbage;
    };
    // Returns an error text, empty on success.
    using Change = std::function<std::string(Transaction&)>;

    explicit PlayerStore(std::string folder);

    // ZVD_PLAYER_DIR, else the user's data folder + ZVD/player.
    static std::string defaultFolder();

    const std::string& folder() const { return m_folder; }
    std::string blobPath(std::uint64_t blob) const;
    std::string dataFolder() const;
    std::string firmwareFolder() const;
    // A fresh name in the data folder for bytes still on their way in: "incoming-PID-N.part".
    std::string incomingPath() const;
    // Removes the incoming parts whose process no longer runs (a PC program killed during a
    // transfer). Parts of running processes and every other file stay.
    void removeStaleIncoming() const;

    // Loads the state under the lock, runs change, saves the state when change marked it changed
    // (even when change reports an error: a used-up injected failure must stay used up), then
    // removes the garbage. With create false a missing player folder is an error ("no player")
    // rather than being created: merely polling must not leave folders behind. With
    // discardDamaged a state file that cannot be read is replaced by a fresh state (for reset).
    std::string transact(const Change& change, bool create, bool discardDamaged = false) const;

    // The state as it is now; nullopt with the reason in *error when it cannot be read.
    std::optional<PlayerState> read(std::string* error = nullptr) const;

    // Data files that no entry of state refers to: left behind by a crash, by a file that was
    // busy when its entry went, or (when wiping) bytes another process is still receiving, whose
    // download then fails cleanly.
    std::vector<std::string> unreferencedFiles(const PlayerState& state) const;

private:
    std::string statePath() const;
    std::string lockPath() const;
    std::optional<PlayerState> load(std::string& error) const;

    std::string m_folder;
};
