// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The local file list (lvwFile) in its four display styles: large icons, small icons, list and
// details. One model and one selection are shared by an icon view and a detail view, so a
// style change keeps the selection and costs no refill.
#pragma once

#include "app/ListDragHandler.h"

#include <QStackedWidget>

class QAbstractItemModel;
class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QTreeView;

class LocalFileView : public QStackedWidget
{
    Q_OBJECT
public:
    enum Style { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3 };

    LocalFileView(ListDragHandler* handler, QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model);
    QItemSelectionModel* selectionModel() const;
    void setDisplayStyle(Style style);
    Style displayStyle() const { return m_style; }
    // The view that shows the rows now (the detail view or the icon view).
    QAbstractItemView* currentView() const;
    QTreeView* detailView() const { return m_details; }
    QListView* iconView() const { return m_icons; }

    // Model rows selected, in view order.
    QList<int> selectedRows() const;

signals:
    // Enter or Return on the list: send the selection.
    void sendRequested();
    // A click on the detail view's column header.
    void headerClicked(int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListView* m_icons;
    QTreeView* m_details;
    Style m_style = Details;
};
