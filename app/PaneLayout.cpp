// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/PaneLayout.h"

#include "app/Twips.h"

#include <QtMath>

#include <algorithm>

namespace
{

QRect box(int left, int top, int width, int height)
{
    return QRect(left, top, std::max(0, width), std::max(0, height));
}

} // namespace

PaneRects LayoutPanes(const PaneMetrics& m)
{
    PaneRects r;
    r.hsplit = box(m.hsplitLeft, 0, m.hsplitWidth, m.vsplitTop);
    r.vsplit = box(0, m.vsplitTop, m.scaleWidth, m.vsplitHeight);
    r.hsplitBottomMargin = qRound(double(m.scaleHeight - m.vsplitTop) / Twips::PerPixel);
    r.lblfld = box(0, 0, m.hsplitLeft, m.labelHeight);
    r.fldView =
        box(0, r.lblfld.top() + r.lblfld.height(), r.lblfld.width(), r.hsplit.height() - r.lblfld.height());
    const int fileLeft = r.hsplit.left() + r.hsplit.width();
    r.lblFile = box(fileLeft, r.lblfld.top(), m.scaleWidth - fileLeft, m.labelHeight);
    const int listTop = r.lblFile.top() + r.lblFile.height();
    r.lvwFile = box(fileLeft, listTop, r.lblFile.width(), m.vsplitTop - m.fileStatusHeight - listTop);
    r.sbrFile = box(fileLeft, r.lvwFile.top() + r.lvwFile.height(), r.lvwFile.width(), m.fileStatusHeight);
    r.picTool = box(0, r.vsplit.top() + r.vsplit.height(), m.scaleWidth, m.toolHeight);
    const int playerTop = r.picTool.top() + r.picTool.height();
    r.lvwPlayer = box(0, playerTop, m.scaleWidth, m.scaleHeight - playerTop - m.statusHeight);
    r.sbrStatus = box(0, m.scaleHeight - m.statusHeight, m.scaleWidth, m.statusHeight);
    r.toolbarLeft = m.tabWidth;
    return r;
}

int LimitVSplit(int vsplit, int innerHeight, int toolHeight)
{
    if (innerHeight - vsplit - 510 <= toolHeight)
        return innerHeight - toolHeight - 510;
    return vsplit;
}
