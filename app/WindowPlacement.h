// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Puts a window back at its stored place, moved onto a screen when the stored place is no
// longer visible (a monitor unplugged, a smaller resolution).
#pragma once

#include <QList>
#include <QRect>

namespace WindowPlacement
{

// The stored frame rectangle (pixels) adjusted so that it fits the nearest of the available
// screen areas: shrunk to the area when larger, moved inside it when it sticks out.
QRect fitted(const QRect& stored, const QList<QRect>& availableScreens);

} // namespace WindowPlacement
