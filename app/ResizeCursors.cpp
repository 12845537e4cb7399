// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/ResizeCursors.h"

#include <QBitmap>
#include <QCursor>
#include <QPainter>
#include <QPolygon>
#include <QTransform>

namespace
{

constexpr int kSize = 32;
constexpr int kHot = 15;

// Draws the vertical-arrow form; the horizontal one is the same picture turned a quarter.
void drawShape(QPainter& p, const QColor& ink, int grow)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    // The two lines.
    p.drawRect(QRect(QPoint(4 - grow, 13 - grow), QPoint(27 + grow, 13 + grow)));
    p.drawRect(QRect(QPoint(4 - grow, 17 - grow), QPoint(27 + grow, 17 + grow)));
    // The shaft and the two heads.
    p.drawRect(QRect(QPoint(15 - grow, 6), QPoint(16 + grow, 24)));
    p.drawPolygon(
        QPolygon({QPoint(15, 1 - grow), QPoint(10 - 2 * grow, 7 + grow), QPoint(21 + 2 * grow, 7 + grow)}));
    p.drawPolygon(QPolygon(
        {QPoint(15, 30 + grow), QPoint(10 - 2 * grow, 24 - grow), QPoint(21 + 2 * grow, 24 - grow)}));
}

QBitmap render(int grow, bool turned)
{
    QBitmap bitmap(kSize, kSize);
    bitmap.clear();
    QPainter p(&bitmap);
    if (turned)
        p.setTransform(QTransform().translate(kSize - 1, 0).rotate(90));
    drawShape(p, Qt::color1, grow);
    return bitmap;
}

} // namespace

namespace ResizeCursors
{

QCursor make(Qt::Orientation arrow)
{
    const bool turned = arrow == Qt::Horizontal;
    // A black shape on a white rim, monochrome, so it reads on any background.
    const QBitmap shape = render(0, turned);
    const QBitmap mask = render(1, turned);
    return QCursor(shape, mask, kHot, kHot);
}

} // namespace ResizeCursors
