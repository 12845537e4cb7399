// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/PaneLayout.h"

#include <gtest/gtest.h>

namespace
{

PaneMetrics designMetrics()
{
    PaneMetrics m;
    m.scaleWidth = 12000;
    m.scaleHeight = 9000;
    m.hsplitLeft = DesignHSplitLeft;
    m.vsplitTop = DesignVSplitTop;
    m.labelHeight = 300;
    m.fileStatusHeight = 330;
    m.toolHeight = 450;
    m.statusHeight = 345;
    m.tabWidth = 3000;
    return m;
}

TEST(PaneLayout, PlacesEveryPaneFromTheTwoBars)
{
    const PaneRects r = LayoutPanes(designMetrics());
    EXPECT_EQ(r.hsplit, QRect(2730, 0, 60, 3300));
    EXPECT_EQ(r.vsplit, QRect(0, 3300, 12000, 60));
    EXPECT_EQ(r.hsplitBottomMargin, (9000 - 3300) / 15);
    EXPECT_EQ(r.lblfld, QRect(0, 0, 2730, 300));
    EXPECT_EQ(r.fldView, QRect(0, 300, 2730, 3000));
    EXPECT_EQ(r.lblFile, QRect(2790, 0, 12000 - 2790, 300));
    EXPECT_EQ(r.lvwFile, QRect(2790, 300, 12000 - 2790, 3300 - 330 - 300));
    EXPECT_EQ(r.sbrFile, QRect(2790, 2970, 12000 - 2790, 330));
    EXPECT_EQ(r.picTool, QRect(0, 3360, 12000, 450));
    EXPECT_EQ(r.lvwPlayer, QRect(0, 3810, 12000, 9000 - 3810 - 345));
    EXPECT_EQ(r.toolbarLeft, 3000);
}

TEST(PaneLayout, ATinyWindowGivesEmptyPanesInsteadOfNegativeSizes)
{
    PaneMetrics m = designMetrics();
    m.scaleWidth = 1000;
    m.scaleHeight = 500;
    const PaneRects r = LayoutPanes(m);
    EXPECT_EQ(r.lblFile.width(), 0);
    EXPECT_EQ(r.lvwPlayer.height(), 0);
    EXPECT_GE(r.lvwFile.width(), 0);
}

TEST(PaneLayout, StoredVSplitTooLowIsPulledUpToLeaveRoomForTheToolStrip)
{
    EXPECT_EQ(LimitVSplit(3300, 9000, 450), 3300);
    // 9000 - 8100 - 510 = 390, not more than the strip's 450.
    EXPECT_EQ(LimitVSplit(8100, 9000, 450), 9000 - 450 - 510);
    // Exactly the strip's height is still too little.
    EXPECT_EQ(LimitVSplit(8040, 9000, 450), 8040);
    EXPECT_EQ(LimitVSplit(8041, 9000, 450), 8040);
}

} // namespace
