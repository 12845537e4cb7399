// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Which drags each list takes. The drag data is never read: only the list the drag started in
// matters, and what a drop does follows from that.
#pragma once

struct DragState {
    bool fromLocalList = false; // a drag started in the local list and has not completed
    bool fromPlayer = false;    // a drag started in the player list and has not completed
    int playerSelectedAtStart = 0;
};

namespace DropRules
{

// The local list takes player files, except in the music view, where they are never fetched.
bool localListAccepts(const DragState& drag, bool audioViewSelected);

// The player list takes local files, and a single player file to move it. A drag from outside
// the program is refused: the files it carries are not the ones a send would take.
bool playerListAccepts(const DragState& drag, bool fromThisProgram);

} // namespace DropRules
