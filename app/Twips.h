// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Window positions are kept and stored in twips, 15 to a logical pixel, whatever the screen.
#pragma once

namespace Twips
{

constexpr int PerPixel = 15;

constexpr int fromPixels(int pixels)
{
    return pixels * PerPixel;
}
constexpr int toPixels(int twips)
{
    return twips / PerPixel;
}

} // namespace Twips
