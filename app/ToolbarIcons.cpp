// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ToolbarIcons
{
namespace
{

// Our own pictures in colour: the themes' symbolic icons are grey, so an enabled button looked
// as disabled as a greyed one. Drawn on a 32-unit grid at each size the toolbar asks for.
void drawArrow(QPainter& p, bool down, const QColor& colour)
{
    QPainterPath arrow;
    if (down) {
        arrow.moveTo(12, 3);
        arrow.lineTo(20, 3);
        arrow.lineTo(20, 14);
        arrow.lineTo(27, 14);
        arrow.lineTo(16, 26);
        arrow.lineTo(5, 14);
        arrow.lineTo(12, 14);
    } else {
        arrow.moveTo(12, 26);
        arrow.lineTo(20, 26);
        arrow.lineTo(20, 15);
        arrow.lineTo(27, 15);
        arrow.lineTo(16, 3);
        arrow.lineTo(5, 15);
        arrow.lineTo(12, 15);
    }
    arrow.closeSubpath();
    p.setPen(QPen(colour.darker(150), 1.5));
    p.setBrush(colour);
    p.drawPath(arrow);
    // The player's side is below: a bar at the arrow's end or start.
    p.fillRect(QRectF(5, 28, 22, 3), QColor(60, 60, 60));
}

void drawBin(QPainter& p)
{
    const QColor red(208, 48, 48);
    p.setPen(QPen(red.darker(150), 1.5));
    p.setBrush(red);
    p.drawRect(QRectF(6, 6, 20, 3));
    p.drawRect(QRectF(13, 3, 6, 3));
    p.drawRoundedRect(QRectF(8, 10, 16, 19), 2, 2);
    p.setPen(QPen(QColor(255, 230, 230), 1.5));
    for (qreal x : {12.5, 16.0, 19.5})
        p.drawLine(QPointF(x, 13), QPointF(x, 26));
}

void drawDrive(QPainter& p)
{
    const QColor blue(52, 96, 170);
    p.setPen(QPen(blue.darker(150), 1.5));
    p.setBrush(blue);
    p.drawRoundedRect(QRectF(3, 9, 26, 15), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 176, 32));
    p.drawEllipse(QRectF(22, 18, 4, 4));
    p.setBrush(QColor(220, 230, 245));
    p.drawRect(QRectF(7, 13, 12, 3));
}

QImage drawn(const QString& key, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    if (key == QLatin1String("Download"))
        drawArrow(p, true, QColor(46, 157, 58));
    else if (key == QLatin1String("Upload"))
        drawArrow(p, false, QColor(42, 111, 214));
    else if (key == QLatin1String("Delete"))
        drawBin(p);
    else
        drawDrive(p);
    return image;
}

// The disabled look: grey and faint, whatever the style would make of it.
QImage greyed(const QImage& image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level = 150 + qGray(line[x]) / 4;
            line[x] = qRgba(level, level, level, qAlpha(line[x]) * 2 / 3);
        }
    }
    return grey;
}

} // namespace

QIcon icon(const QString& key, const QStyle*)
{
    if (key != QLatin1String("Download") && key != QLatin1String("Upload") &&
        key != QLatin1String("Delete") && key != QLatin1String("Format"))
        return QIcon();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        const QImage image = drawn(key, size);
        icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
        icon.addPixmap(QPixmap::fromImage(greyed(image)), QIcon::Disabled);
    }
    return icon;
}

} // namespace ToolbarIcons
