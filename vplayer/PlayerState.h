// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Everything the virtual player remembers between calls: attachment, memory size, the ordered
// entry list, the firmware and the test knobs (injected failures, link speed).
#pragma once

#include "vplayer/MediumGeometry.h"
#include "vplayer/ShortName.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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

// The entry list changes only through the methods below, which keep the indexes that make a
// call cost the same on a full player as on an empty one (names by letter case ignored, units
// in use) and note each change as a line for the state file's journal.
class PlayerState
{
public:
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

    // A deque, so deleting from either end (the program deletes a selection front first) moves
    // nothing.
    const std::deque<StoredEntry>& entries() const { return m_entries; }
    void appendEntry(StoredEntry entry);
    void eraseEntry(std::size_t index);
    // Swaps the entries at index and index + 1.
    void swapWithNext(std::size_t index);
    void renameEntry(std::size_t index, std::string longName, const ShortName::Name& name);
    void clearEntries();

    // Whether another entry than except holds the long name or the 8.3 name, letter case ignored.
    bool holdsLongName(std::string_view longName, const StoredEntry* except = nullptr) const;
    bool holdsShortName(const ShortName::Name& name, const StoredEntry* except = nullptr) const;
    // The 8.3 name a new entry (or except, renamed) gets.
    ShortName::Name makeShortName(std::string_view longName, const StoredEntry* except = nullptr);

    std::uint64_t unitsInUse() const;
    std::uint64_t freeUnits() const;
    std::uint64_t freeBytes() const { return freeUnits() * geometry.unitBytes(); }

    // Counts a call of the named function against the injected failures: true when this very
    // call is the one that must fail (the failure is then used up).
    bool takeFailure(std::string_view call);

    // The whole state as lines of text (no file header).
    std::string serialize() const;
    // The settings lines alone (everything but the entries): compared before and after a change
    // to learn which settings to note in the journal.
    std::string settingsLines() const;
    // Applies one line of a state file or journal; false for anything not fully understood.
    // Journal-only lines (delete, swap, rename, clear, a failure disarmed with 0) are refused
    // when journal is false.
    bool applyLine(std::string_view line, bool journal);
    // The journal lines of the entry changes since the last call.
    std::string takeEntryChanges();

    // A whole state file (see StateFile), or nullopt for anything not fully understood, so a
    // damaged file is never half-read.
    static std::optional<PlayerState> parse(std::string_view text);

private:
    static std::string entryLine(const StoredEntry& entry);
    static std::string nameKey(std::string_view name);
    static std::string shortKey(std::string_view base, std::string_view extension);
    void index(const StoredEntry& entry);
    void unindex(const StoredEntry& entry);
    void indexNames() const;
    void countUnits() const;
    bool applyFileLine(std::string_view line, bool journal);

    std::deque<StoredEntry> m_entries;
    // Units in use, summed as entries come and go under m_countedGeometry; recounted when the
    // geometry changed since (a reset may change it).
    mutable std::uint64_t m_unitsInUse = 0;
    mutable MediumGeometry m_countedGeometry;
    // Lower-cased names → how many entries hold them (a file edited by hand may hold twins).
    // Built on the first name question: a process that only lists or reads the player (most
    // zvdctl commands) never pays for hashing every name of a large player.
    mutable std::unordered_map<std::string, std::uint32_t> m_longNames;
    mutable std::unordered_map<std::string, std::uint32_t> m_shortNames;
    mutable bool m_namesIndexed = false;
    ShortName::TailHints m_tailHints;
    std::string m_changes;
    bool m_noting = true; // false while lines of a file are applied: they are no new changes
};
