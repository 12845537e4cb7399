// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/WindowPlacement.h"

#include <algorithm>

namespace WindowPlacement
{
namespace
{

qint64 overlap(const QRect& a, const QRect& b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

qint64 distance(const QRect& a, const QRect& b)
{
    const QPoint d = a.center() - b.center();
    return qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
}

} // namespace

QRect fitted(const QRect& stored, const QList<QRect>& availableScreens)
{
    if (availableScreens.isEmpty() || stored.isEmpty())
        return stored;
    // The screen that shows most of the window, else the one nearest to it.
    QRect screen = availableScreens.first();
    for (const QRect& candidate : availableScreens) {
        const qint64 a = overlap(stored, candidate);
        const qint64 b = overlap(stored, screen);
        if (a > b || (a == b && a == 0 && distance(stored, candidate) < distance(stored, screen)))
            screen = candidate;
    }
    QRect result = stored;
    result.setWidth(std::min(result.width(), screen.width()));
    result.setHeight(std::min(result.height(), screen.height()));
    result.moveLeft(
        std::clamp(result.left(), screen.left(), screen.left() + screen.width() - result.width()));
    result.moveTop(std::clamp(result.top(), screen.top(), screen.top() + screen.height() - result.height()));
    return result;
}

} // namespace WindowPlacement
