// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/SplitDDC.h"

#include "app/SplitOutline.h"

#include <QCursor>
#include <QFrame>
#include <QWidget>

#include <algorithm>
#include <stdexcept>

cSplitDDC::cSplitDDC() : m_pointer([] { return QCursor::pos(); }) {}

cSplitDDC::~cSplitDDC()
{
    delete m_overlay;
}

void cSplitDDC::setSplitObject(QWidget* bar)
{
    m_bar = bar;
    if (auto* frame = qobject_cast<QFrame*>(bar))
        frame->setFrameShape(QFrame::NoFrame);
}

void cSplitDDC::setOrientation(int orientation)
{
    m_orientation = orientation;
    if (!m_bar)
        return;
    const bool horizontal = orientation == Horizontal;
    m_borders[0] = m_borders[2] = horizontal ? 0 : 64;
    m_borders[1] = m_borders[3] = horizontal ? 64 : 0;
}

int cSplitDDC::indexOf(int border)
{
    if (border < Left || border > Bottom)
        throw std::out_of_range("cSplitDDC: border index outside 1 to 4");
    return border - 1;
}

int cSplitDDC::Border(int index) const
{
    return m_borders[indexOf(index)];
}

void cSplitDDC::setBorder(int index, int size)
{
    m_borders[indexOf(index)] = size;
}

void cSplitDDC::setPointerSource(PointerSource source)
{
    m_pointer = std::move(source);
}

void cSplitDDC::SplitterMouseDown(QWidget* window, int, int)
{
    if (!window)
        return;
    m_window = window;
    // The pointer cannot leave the client area by more than the clamping below allows, so
    // confining it is left to the mouse grab the press already holds.
    m_limit = QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
    m_dragging = true;
    m_lastOutline = QRect();
    SplitterFormMouseMove(0, 0);
}

QRect cSplitDDC::outlineAt(QPoint p) const
{
    const int lo = m_orientation == Horizontal ? m_limit.top() + Border(Top) : m_limit.left() + Border(Left);
    const int hi = m_orientation == Horizontal ? m_limit.top() + m_limit.height() - Border(Bottom)
                                               : m_limit.left() + m_limit.width() - Border(Right);
    const int along = m_orientation == Horizontal ? p.y() : p.x();
    int from = along - 2;
    int to = along + 2;
    if (along < lo || along >= hi) {
        const int bound = along < lo ? lo : hi;
        from = bound - 2;
        to = bound + 3;
    }
    if (m_orientation == Horizontal) {
        const int left = m_limit.left() + Border(Left);
        const int right = m_limit.left() + m_limit.width() - Border(Right);
        return QRect(QPoint(left, from), QPoint(right - 1, to - 1));
    }
    const int top = m_limit.top() + Border(Top);
    const int bottom = m_limit.top() + m_limit.height() - Border(Bottom);
    return QRect(QPoint(from, top), QPoint(to - 1, bottom - 1));
}

void cSplitDDC::SplitterFormMouseMove(int, int)
{
    if (!m_dragging)
        return;
    removeOutline();
    m_lastOutline = outlineAt(m_pointer());
    drawOutline(m_lastOutline);
}

bool cSplitDDC::SplitterFormMouseUp(int, int)
{
    if (!m_dragging)
        return false;
    m_dragging = false;
    removeOutline();
    m_lastOutline = QRect();
    QPoint p = m_pointer();
    p.setX(std::clamp(
        p.x(), m_limit.left() + Border(Left),
        std::max(m_limit.left() + Border(Left), m_limit.left() + m_limit.width() - Border(Right))));
    p.setY(
        std::clamp(p.y(), m_limit.top() + Border(Top),
                   std::max(m_limit.top() + Border(Top), m_limit.top() + m_limit.height() - Border(Bottom))));
    if (!m_window || !m_bar)
        return true;
    const QPoint client = m_window->mapFromGlobal(p);
    if (m_orientation == Horizontal)
        m_bar->move(m_bar->x(), client.y() - 2);
    else
        m_bar->move(client.x() - 2, m_bar->y());
    return true;
}

void cSplitDDC::drawOutline(const QRect& screenRect)
{
    if (!m_window)
        return;
    if (!m_overlay)
        m_overlay = new SplitOutline(m_window);
    m_overlay->setGeometry(QRect(m_window->mapFromGlobal(screenRect.topLeft()), screenRect.size()));
    m_overlay->raise();
    m_overlay->show();
}

void cSplitDDC::removeOutline()
{
    if (m_overlay)
        m_overlay->hide();
}
