// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The numeric order of the size column.
#pragma once

#include <QtGlobal>

namespace mLVSort
{

// Strict weak order of two sizes (-1 = unknown) for a sort in the given direction. Unknown
// sizes go after every known one in both directions, so a sort never depends on the order the
// rows came in and a reversed sort stays a reversal of the known sizes.
inline bool sizeLess(qint64 a, qint64 b, bool ascending)
{
    const bool aKnown = a >= 0;
    const bool bKnown = b >= 0;
    if (aKnown != bKnown)
        return aKnown;
    if (!aKnown)
        return false;
    return ascending ? a < b : b < a;
}

} // namespace mLVSort
