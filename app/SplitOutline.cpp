// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/SplitOutline.h"

#include <QPainter>

SplitOutline::SplitOutline(QWidget* owner) : QWidget(owner)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void SplitOutline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Invert the pixels beneath, as the classic R2_NOTXORPEN outline does; where raster
    // operations are not supported the fill still shows as a dark bar.
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.fillRect(rect(), Qt::black);
}
