// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/DropRules.h"

namespace DropRules
{

bool localListAccepts(const DragState& drag, bool audioViewSelected)
{
    return drag.fromPlayer && !audioViewSelected;
}

bool playerListAccepts(const DragState& drag, bool fromThisProgram)
{
    if (!fromThisProgram)
        return false;
    if (drag.fromLocalList)
        return true;
    return drag.fromPlayer && drag.playerSelectedAtStart <= 1;
}

} // namespace DropRules
