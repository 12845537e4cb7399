// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player's state file: a snapshot of the whole state followed by a journal of the changes
// made since, so a change appends a few bytes instead of rewriting every entry.
//
//   zvd-virtual-player 2 EPOCH     header; EPOCH (16 hex digits) is new with every snapshot
//   attached 1                     the snapshot: settings, then one line per entry
//   ...
//   entry 7 1234 :BASE :EXT :long%20name
//   journal                        end of the snapshot
//   record BYTES CRC               one change: BYTES bytes of lines follow, CRC-32 over them
//   delete 3
//   ...
//
// A record whose bytes are not all there was cut short by a process killed while appending it:
// it never happened, and the next writer cuts it off. A complete record that does not check
// out, or a snapshot without its end line, is damage: the whole file is refused. The first
// format ("zvd-virtual-player 1", a snapshot without journal) is still read; the next change
// rewrites it in this one.
#pragma once

#include "vplayer/PlayerState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace StateFile
{

struct Contents {
    PlayerState state;
    std::uint64_t epoch = 0;        // 0: the first format, to be rewritten at the next change
    std::uint64_t journalStart = 0; // where the records begin
    std::uint64_t end = 0;          // where the last whole record ends
};

// The snapshot of state, ending with the line that opens the journal.
std::string snapshot(const PlayerState& state, std::uint64_t epoch);

// One record holding lines (each ending in a line feed), applied all or nothing.
std::string record(std::string_view lines);

// The epoch in a file's header, nullopt for another header (a first-format or damaged file).
std::optional<std::uint64_t> epochOf(std::string_view head);

// A whole file; nullopt when it is damaged.
std::optional<Contents> parse(std::string_view text);

// Applies the whole records at the start of text to contents (text being the file's bytes
// from contents.end on) and moves contents.end past them. False when a record is damaged.
bool applyJournal(Contents& contents, std::string_view text);

// CRC-32 (the polynomial of zip and PNG).
std::uint32_t crc32(std::string_view bytes);

// A number for a new snapshot that no earlier one of this player is likely to have had.
std::uint64_t newEpoch();

} // namespace StateFile
