// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Where every pane of the main window goes, worked out from the two splitter bars' positions.
// All values are twips of the window's client area.
#pragma once

#include <QRect>

struct PaneMetrics {
    int scaleWidth = 0;
    int scaleHeight = 0;
    int hsplitLeft = 0; // left edge of the vertical bar picHsplit
    int hsplitWidth = 60;
    int vsplitTop = 0; // top edge of the horizontal bar picVsplit
    int vsplitHeight = 60;
    int labelHeight = 0;      // lblfld and lblFile
    int fileStatusHeight = 0; // sbrFile
    int toolHeight = 0;       // picTool
    int statusHeight = 0;     // sbrStatus
    int tabWidth = 0;         // tabMode: its third tab's right edge + 210
};

struct PaneRects {
    QRect hsplit, vsplit, lblfld, fldView, lblFile, lvwFile, sbrFile, picTool, lvwPlayer, sbrStatus;
    int hsplitBottomMargin = 0; // pixels, for the picHsplit controller
    int toolbarLeft = 0;        // tbrTool, relative to picTool
};

// A pane that would get a negative width or height gets 0 instead.
PaneRects LayoutPanes(const PaneMetrics& m);

// A stored VSplit so low that the room below it, less 510, would be no taller than the tool
// strip is pulled up to leave that room.
int LimitVSplit(int vsplit, int innerHeight, int toolHeight);

// Design positions of the bars, used when no setting exists, and the least a dragged bar keeps.
constexpr int DesignHSplitLeft = 2730;
constexpr int DesignVSplitTop = 3300;
constexpr int MinimumSplitPosition = 2100;
