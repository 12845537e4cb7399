// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The pointers shown over the splitter bars: two parallel lines crossed by a two-headed arrow.
#pragma once

#include <Qt>

class QCursor;

namespace ResizeCursors
{

// Qt::Vertical: lines horizontal, arrow vertical (over the bar between the two halves);
// Qt::Horizontal: lines vertical, arrow horizontal (over the bar beside the folder tree).
QCursor make(Qt::Orientation arrow);

} // namespace ResizeCursors
