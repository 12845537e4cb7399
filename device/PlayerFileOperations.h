// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Changing the player's contents from the player list: delete, rename, reorder, format. Each
// works on the session's list and connection, asks through the prompt before it changes
// anything, and rebuilds the list afterwards. The window and zvdctl share them.
#pragma once

#include "core/Prompt.h"
#include "device/PlayerSession.h"

#include <vector>

namespace PlayerFileOperations
{

enum class Outcome {
    NotConnected, // nothing done
    Declined,     // the user answered No
    Done,         // every library call succeeded
    Failed,       // a library call failed (the list shows what the player reports)
};

// Deletes the rows at the given positions of the session's list (any order; they are handled
// in list order). Asks first ("Delete" + line break + name or formatted count); on a failed
// call stops, tells the user which file was not deleted, and rebuilds the list.
Outcome DeleteSelectedPlayerFiles(PlayerSession& session, Prompt& prompt, std::vector<int> rowPositions);

// The name a label edit sends: the typed text, with the old name's extension (a point and three
// characters at its end) appended unless the typed text already ends with it, ignoring case.
QString RenamedName(const QString& oldName, const QString& typed);

// Renames the row at rowPosition to RenamedName(its name, typed). Empty typed text changes nothing.
Outcome RenamePlayerFile(PlayerSession& session, int rowPosition, const QString& typed);

// The neighbour swaps that move entry `source` to just before entry `target` (pairs a, b).
std::vector<std::pair<int32_t, int32_t>> ReorderSwaps(int32_t source, int32_t target);

// Moves entry `source` before entry `target` by neighbour swaps, stopping at a failed swap.
Outcome MovePlayerFile(PlayerSession& session, int32_t source, int32_t target);

// Asks with "Format", then formats the player's memory.
Outcome FormatPlayer(PlayerSession& session, Prompt& prompt);

} // namespace PlayerFileOperations
