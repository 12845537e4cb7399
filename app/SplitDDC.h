// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Runs the drag of one splitter bar: an inverted outline follows the pointer inside the owner's
// client area less the margins, and the bar moves to where the button is released.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>

class QWidget;
class SplitOutline;

class cSplitDDC
{
public:
    enum eBorderType { Left = 1, Top = 2, Right = 3, Bottom = 4 };
    enum { Vertical = 1, Horizontal = 2 };
    using PointerSource = std::function<QPoint()>;

    cSplitDDC();
    ~cSplitDDC();
    cSplitDDC(const cSplitDDC&) = delete;
    cSplitDDC& operator=(const cSplitDDC&) = delete;

    QWidget* SplitObject() const { return m_bar; }
    void setSplitObject(QWidget* bar);
    int Orientation() const { return m_orientation; }
    void setOrientation(int orientation);
    // Margins in pixels, indexed by eBorderType; other indexes throw std::out_of_range.
    int Border(int index) const;
    void setBorder(int index, int size);

    // Tests replace the system pointer (screen pixels) with their own positions.
    void setPointerSource(PointerSource source);

    void SplitterMouseDown(QWidget* window, int x, int y);
    void SplitterFormMouseMove(int x, int y);
    // True when a drag ended; the bar has then been moved (its new edge in the owner's pixels).
    bool SplitterFormMouseUp(int x, int y);

    bool isDragging() const { return m_dragging; }
    // The outline last drawn, in screen pixels; empty when none is shown.
    QRect outline() const { return m_lastOutline; }

private:
    static int indexOf(int border);
    QRect outlineAt(QPoint pointer) const;
    void drawOutline(const QRect& screenRect);
    void removeOutline();

    QPointer<QWidget> m_bar;
    QPointer<QWidget> m_window;
    int m_orientation = Vertical;
    int m_borders[4] = {64, 0, 64, 0};
    bool m_dragging = false;
    QRect m_limit;
    QRect m_lastOutline;
    PointerSource m_pointer;
    QPointer<SplitOutline> m_overlay;
};
