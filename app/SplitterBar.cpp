// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/SplitterBar.h"

#include "app/ResizeCursors.h"

#include <QMouseEvent>

SplitterBar::SplitterBar(Qt::Orientation arrow, QWidget* parent) : QFrame(parent)
{
    setCursor(ResizeCursors::make(arrow));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

void SplitterBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit pressed(event->position().toPoint());
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(event->position().toPoint());
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit released(event->position().toPoint());
}
