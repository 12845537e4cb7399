// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player list (lvwPlayer): two columns in the player's order, never sorted; label edit
// renames, Ctrl+A selects all, drags go through the window's handler.
#pragma once

#include "app/ListDragHandler.h"

#include <QTreeView>

class PlayerListView : public QTreeView
{
    Q_OBJECT
public:
    PlayerListView(ListDragHandler* handler, QWidget* parent = nullptr);

    // Model rows selected, in list order.
    QList<int> selectedRows() const;

    void setModel(QAbstractItemModel* model) override;

signals:
    void deletePressed();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The columns fit their headers when the list first shows and their texts when it is first
    // filled; the name column then takes what the size column leaves. Later the user's widths stay.
    void fitColumns();
    void fitColumnsToFirstRows();

    ListDragHandler* m_handler;
    bool m_shownOnce = false;
    bool m_fittedToRows = false;
};
