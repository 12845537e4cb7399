// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/LocalFileView.h"

#include "app/SelectedRows.h"

#include "app/DropTargetFilter.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QTreeView>

#include <algorithm>

namespace
{

// Both views start the drag of their selection through the window's handler.
template <class View> class DragView : public View
{
public:
    DragView(ListDragHandler* handler, QWidget* parent) : View(parent), m_handler(handler) {}

protected:
    void startDrag(Qt::DropActions) override { ListDrag::run(this, m_handler, FileList::Local); }

private:
    ListDragHandler* m_handler;
};

void setCommonBehaviour(QAbstractItemView* view, ListDragHandler* handler)
{
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setDragEnabled(true);
    view->setDragDropMode(QAbstractItemView::DragDrop);
    new DropTargetFilter(view->viewport(), FileList::Local, handler);
}

} // namespace

LocalFileView::LocalFileView(ListDragHandler* handler, QWidget* parent)
    : QStackedWidget(parent), m_icons(new DragView<QListView>(handler, this)),
      m_details(new DragView<QTreeView>(handler, this))
{
    setCommonBehaviour(m_icons, handler);
    setCommonBehaviour(m_details, handler);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setWrapping(true);
    m_details->setRootIsDecorated(false);
    // Uniform rows let the detail view lay out tens of thousands of rows without measuring each.
    m_details->setUniformRowHeights(true);
    m_details->setAllColumnsShowFocus(true);
    m_details->setSortingEnabled(false);
    // A click on a header sorts by that column (the window keeps the View menu in step).
    m_details->header()->setSectionsClickable(true);
    m_details->header()->setSortIndicatorShown(true);
    m_details->header()->setSortIndicator(0, Qt::AscendingOrder);
    connect(m_details->header(), &QHeaderView::sectionClicked, this, &LocalFileView::headerClicked);
    m_icons->installEventFilter(this);
    m_details->installEventFilter(this);
    // Long names are cut with an ellipsis in the icon styles instead of running over their
    // neighbours; the whole name shows as a tool tip.
    m_icons->setTextElideMode(Qt::ElideRight);
    addWidget(m_icons);
    addWidget(m_details);
    setDisplayStyle(Details);
}

void LocalFileView::setModel(QAbstractItemModel* model)
{
    m_details->setModel(model);
    QItemSelectionModel* old = m_icons->selectionModel();
    m_icons->setModel(model);
    m_icons->setSelectionModel(m_details->selectionModel());
    delete old;
    m_details->header()->resizeSection(0, 220);
    m_details->header()->resizeSection(1, 90);
}

QItemSelectionModel* LocalFileView::selectionModel() const
{
    return m_details->selectionModel();
}

void LocalFileView::setDisplayStyle(Style style)
{
    m_style = style;
    // Uniform sizes take every item's size from the last row, which cuts longer names short;
    // only the hidden icon view, behind the detail view, may skip measuring its items.
    m_icons->setUniformItemSizes(style == Details);
    if (style == Details) {
        setCurrentWidget(m_details);
        return;
    }
    const int icon = style == LargeIcons ? 32 : 16;
    m_icons->setIconSize(QSize(icon, icon));
    m_icons->setViewMode(style == LargeIcons ? QListView::IconMode : QListView::ListMode);
    m_icons->setFlow(style == List ? QListView::TopToBottom : QListView::LeftToRight);
    m_icons->setWrapping(true);
    // Small icons flow by each name's own width: a fixed grid let long names run over the next.
    m_icons->setGridSize(style == LargeIcons ? QSize(96, 64) : QSize());
    m_icons->setSpacing(style == SmallIcons ? 6 : 0);
    m_icons->setMovement(QListView::Static);
    m_icons->setWordWrap(style == LargeIcons);
    setCurrentWidget(m_icons);
}

QAbstractItemView* LocalFileView::currentView() const
{
    return m_style == Details ? static_cast<QAbstractItemView*>(m_details) : m_icons;
}

QList<int> LocalFileView::selectedRows() const
{
    return sortedSelectedRows(selectionModel());
}

bool LocalFileView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_icons || watched == m_details)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            emit sendRequested();
            return true;
        }
    }
    return QStackedWidget::eventFilter(watched, event);
}
