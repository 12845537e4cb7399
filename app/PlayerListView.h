// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player list (lvwPlayer): two columns in the player's order, never sorted; label edit
// renames, Ctrl+A selects all, drags go through the window's handler.
#pragma once

#include "ListDragHandler.h"

#include <QTreeView>

class PlayerListView : public QTreeView
{
    Q_OBJECT
public:
    PlayerListView(ListDragHandler* handler, QWidget* parent = nullptr);

    // Model rows selected, in list order.
    QList<int> selectedRows() const;

signals:
    void deletePressed();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ListDragHandler* m_handler;
};
