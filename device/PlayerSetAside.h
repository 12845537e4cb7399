// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Old entries set aside while their replacement is stored. An entry about to be replaced is first
// renamed to "~zvd-<pid>-<its name>" (the extension stays, so every view lists it alike), then
// deleted once the new file has arrived, or given its name back when the new file did not. A
// process killed in between leaves the entry under that name; the next connection puts it right.
#pragma once

#include "device/PlayerSession.h"

#include <optional>

namespace PlayerSetAside
{

// The name an entry of this name is set aside under by this process; empty when it would be
// too long for the player.
QString nameFor(const QString& name);

struct SetAside {
    qint64 owner = 0; // process id of the process that set it aside
    QString original; // the entry's name before
};
// What a set-aside name tells, or nothing for any other name.
std::optional<SetAside> parse(const QString& entryName);

// The record of entry `index` as the library reports it now (what Rename wants); false when
// the entries could not be read or there is no such entry.
bool readRecord(PlayerSession& session, int32_t index, PlayerEntry& record);

// Renames entry `index` (named `name` in the record just read) to newName; false when the
// record could not be read, the entry there is not `name`, or the player refused.
bool renameEntry(PlayerSession& session, int32_t index, const QString& name, const QString& newName);

// Gives every entry set aside by a process that no longer runs its name back, or deletes it
// when an entry of its name has arrived since; then lists the player again. Works on the entries
// of the session's last listing. Returns one line per entry it could not put right. With
// `ownToo`, entries this process set aside are put right as well: for a caller that connects only
// between its operations, they are left from an operation that could not finish (a device host
// that stopped under it could not give the name back).
QStringList restoreLeftovers(PlayerSession& session, bool ownToo = false);

} // namespace PlayerSetAside
