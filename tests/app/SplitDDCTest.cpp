// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/SplitDDC.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

// A bar on an owner of 600 x 400 pixels placed at the screen origin, with the pointer under
// the test's control.
class SplitDDCTest : public ::testing::Test
{
protected:
    SplitDDCTest()
    {
        owner.setGeometry(0, 0, 600, 400);
        bar = new QWidget(&owner);
        splitter.setPointerSource([this] { return owner.mapToGlobal(pointer); });
    }

    void drag(cSplitDDC& controller, QPoint from, QPoint to)
    {
        pointer = from;
        controller.SplitterMouseDown(&owner, 0, 0);
        pointer = to;
        controller.SplitterFormMouseMove(0, 0);
    }

    QWidget owner;
    QWidget* bar = nullptr;
    cSplitDDC splitter;
    QPoint pointer;
};

TEST_F(SplitDDCTest, NewControllerHasSideMarginsOnlyAndRejectsIndexesOutsideOneToFour)
{
    EXPECT_EQ(splitter.Orientation(), 1);
    EXPECT_EQ(splitter.Border(cSplitDDC::Left), 64);
    EXPECT_EQ(splitter.Border(cSplitDDC::Top), 0);
    EXPECT_EQ(splitter.Border(cSplitDDC::Right), 64);
    EXPECT_EQ(splitter.Border(cSplitDDC::Bottom), 0);
    EXPECT_THROW(splitter.Border(0), std::out_of_range);
    EXPECT_THROW(splitter.setBorder(5, 1), std::out_of_range);
}

TEST_F(SplitDDCTest, OrientationResetsMarginsOnlyOnceABarIsSet)
{
    splitter.setBorder(cSplitDDC::Left, 5);
    splitter.setOrientation(2);
    EXPECT_EQ(splitter.Border(cSplitDDC::Left), 5);
    splitter.setSplitObject(bar);
    splitter.setOrientation(2);
    EXPECT_EQ(splitter.Border(cSplitDDC::Left), 0);
    EXPECT_EQ(splitter.Border(cSplitDDC::Top), 64);
    EXPECT_EQ(splitter.Border(cSplitDDC::Bottom), 64);
    splitter.setOrientation(1);
    EXPECT_EQ(splitter.Border(cSplitDDC::Left), 64);
    EXPECT_EQ(splitter.Border(cSplitDDC::Top), 0);
}

TEST_F(SplitDDCTest, OutlineFollowsThePointerInsideTheMarginsAndStopsAtTheNearerBound)
{
    splitter.setSplitObject(bar);
    splitter.setBorder(cSplitDDC::Left, 32);
    splitter.setBorder(cSplitDDC::Right, 32);
    drag(splitter, QPoint(100, 10), QPoint(200, 10));
    const QPoint origin = owner.mapToGlobal(QPoint(0, 0));
    EXPECT_TRUE(splitter.isDragging());
    EXPECT_EQ(splitter.outline(), QRect(origin + QPoint(198, 0), QSize(4, 400)));

    pointer = QPoint(-50, 10); // beyond the left edge
    splitter.SplitterFormMouseMove(0, 0);
    EXPECT_EQ(splitter.outline(), QRect(origin + QPoint(30, 0), QSize(5, 400)));

    pointer = QPoint(900, 10); // beyond the right edge
    splitter.SplitterFormMouseMove(0, 0);
    EXPECT_EQ(splitter.outline(), QRect(origin + QPoint(566, 0), QSize(5, 400)));
}

TEST_F(SplitDDCTest, HorizontalBarOutlineStopsSixtyFourPixelsAboveTheBottom)
{
    splitter.setSplitObject(bar);
    splitter.setOrientation(2);
    splitter.setBorder(cSplitDDC::Left, 1);
    splitter.setBorder(cSplitDDC::Top, 0);
    splitter.setBorder(cSplitDDC::Right, 1);
    splitter.setBorder(cSplitDDC::Bottom, 64);
    drag(splitter, QPoint(10, 100), QPoint(10, 1000));
    const QPoint origin = owner.mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(splitter.outline(), QRect(origin + QPoint(1, 334), QSize(598, 5)));
    EXPECT_TRUE(splitter.SplitterFormMouseUp(0, 0));
    EXPECT_EQ(bar->y(), 334);
}

TEST_F(SplitDDCTest, ReleaseClampsThePointerAndMovesTheBar)
{
    splitter.setSplitObject(bar);
    splitter.setBorder(cSplitDDC::Left, 32);
    drag(splitter, QPoint(100, 10), QPoint(-300, 10));
    EXPECT_TRUE(splitter.SplitterFormMouseUp(0, 0));
    EXPECT_FALSE(splitter.isDragging());
    EXPECT_TRUE(splitter.outline().isEmpty());
    EXPECT_EQ(bar->x(), 30);
}

TEST_F(SplitDDCTest, PressAndReleaseWithoutMovingKeepsTheBarWithinTwoPixels)
{
    splitter.setSplitObject(bar);
    bar->move(182, 0);
    drag(splitter, QPoint(184, 50), QPoint(184, 50));
    EXPECT_TRUE(splitter.SplitterFormMouseUp(0, 0));
    EXPECT_LE(std::abs(bar->x() - 182), 2);
}

TEST_F(SplitDDCTest, MovesAndReleasesWithoutADragDoNothing)
{
    splitter.setSplitObject(bar);
    bar->move(100, 0);
    splitter.SplitterFormMouseMove(0, 0);
    EXPECT_TRUE(splitter.outline().isEmpty());
    EXPECT_FALSE(splitter.SplitterFormMouseUp(0, 0));
    EXPECT_EQ(bar->x(), 100);
}

} // namespace
