// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

namespace
{

const QList<QRect> kTwoScreens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};

TEST(WindowPlacement, AWindowOnAVisibleScreenStaysWhereItWas)
{
    EXPECT_EQ(WindowPlacement::fitted(QRect(100, 100, 800, 600), kTwoScreens), QRect(100, 100, 800, 600));
    EXPECT_EQ(WindowPlacement::fitted(QRect(2000, 50, 800, 600), kTwoScreens), QRect(2000, 50, 800, 600));
}

TEST(WindowPlacement, AWindowOfAnUnpluggedMonitorMovesOntoTheNearestScreen)
{
    const QRect placed = WindowPlacement::fitted(QRect(3500, 200, 800, 600), kTwoScreens);
    EXPECT_EQ(placed, QRect(3200 - 800, 200, 800, 600));
    const QRect above = WindowPlacement::fitted(QRect(100, -2000, 800, 600), kTwoScreens);
    EXPECT_EQ(above, QRect(100, 0, 800, 600));
}

TEST(WindowPlacement, AWindowLargerThanTheScreenIsShrunkToIt)
{
    EXPECT_EQ(WindowPlacement::fitted(QRect(-50, -50, 4000, 3000), {QRect(0, 0, 1280, 800)}),
              QRect(0, 0, 1280, 800));
}

} // namespace
