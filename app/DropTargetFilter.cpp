// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/DropTargetFilter.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QWidget>

DropTargetFilter::DropTargetFilter(QWidget* viewport, FileList target, ListDragHandler* handler)
    : QObject(viewport), m_target(target), m_handler(handler)
{
    viewport->setAcceptDrops(true);
    viewport->installEventFilter(this);
}

bool DropTargetFilter::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (m_handler && m_handler->dropAccepted(m_target, drag->mimeData()))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!m_handler || !m_handler->dropAccepted(m_target, drop->mimeData())) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        m_handler->dropped(m_target, drop->position().toPoint(), drop->mimeData());
        return true;
    }
    default:
        return false;
    }
}
