// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// One splitter bar of the main window (picHsplit, picVsplit): shows the resize pointer and
// reports the mouse to the window, which runs the drag.
#pragma once

#include <QFrame>

class SplitterBar : public QFrame
{
    Q_OBJECT
public:
    SplitterBar(Qt::Orientation arrow, QWidget* parent);

signals:
    void pressed(QPoint position);
    void moved(QPoint position);
    void released(QPoint position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
