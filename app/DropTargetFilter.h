// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Takes the drag events of a list's viewport and lets the window's handler accept or refuse
// them and act on the drop, instead of the view's own item moving.
#pragma once

#include "app/ListDragHandler.h"

#include <QObject>

class DropTargetFilter : public QObject
{
    Q_OBJECT
public:
    DropTargetFilter(QWidget* viewport, FileList target, ListDragHandler* handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FileList m_target;
    ListDragHandler* m_handler;
};
