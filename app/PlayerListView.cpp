// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/PlayerListView.h"

#include "app/SelectedRows.h"

#include "app/DropTargetFilter.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

PlayerListView::PlayerListView(ListDragHandler* handler, QWidget* parent)
    : QTreeView(parent), m_handler(handler)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // F2 and a click on the selected item start the label edit, as in the classic list.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    header()->setSectionsClickable(false);
    new DropTargetFilter(viewport(), FileList::Player, handler);
}

QList<int> PlayerListView::selectedRows() const
{
    return sortedSelectedRows(selectionModel());
}

void PlayerListView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    if (!model)
        return;
    connect(model, &QAbstractItemModel::modelReset, this, &PlayerListView::fitColumnsToFirstRows);
    connect(model, &QAbstractItemModel::rowsInserted, this, &PlayerListView::fitColumnsToFirstRows);
}

void PlayerListView::showEvent(QShowEvent* event)
{
    QTreeView::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    fitColumns();
}

void PlayerListView::fitColumnsToFirstRows()
{
    if (m_fittedToRows || !model() || model()->rowCount() == 0 || !isVisible())
        return;
    m_fittedToRows = true;
    fitColumns();
}

void PlayerListView::fitColumns()
{
    if (!model() || model()->columnCount() < 2)
        return;
    resizeColumnToContents(1);
    resizeColumnToContents(0);
    const int room = viewport()->width() - columnWidth(1);
    if (columnWidth(0) < room)
        setColumnWidth(0, room);
}

void PlayerListView::startDrag(Qt::DropActions)
{
    ListDrag::run(this, m_handler, FileList::Player);
}

void PlayerListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && state() != EditingState) {
        emit deletePressed();
        return;
    }
    QTreeView::keyPressEvent(event);
}
