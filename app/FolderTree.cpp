// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/FolderTree.h"

#include <QDir>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setUniformRowHeights(true);
    // The column follows the names shown; wider than the pane, the tree scrolls sideways.
    header()->setStretchLastSection(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_fit.setSingleShot(true);
    m_fit.setInterval(100);
    connect(&m_fit, &QTimer::timeout, this, [this] { resizeColumnToContents(0); });
    const auto fitLater = [this] { m_fit.start(); };
    connect(this, &QTreeView::expanded, this, fitLater);
    connect(this, &QTreeView::collapsed, this, fitLater);
}

void FolderTree::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    if (!model)
        return;
    const auto fitLater = [this] { m_fit.start(); };
    connect(model, &QAbstractItemModel::rowsInserted, this, fitLater);
    connect(model, &QAbstractItemModel::layoutChanged, this, fitLater);
    connect(model, &QAbstractItemModel::modelReset, this, fitLater);
}

bool FolderTree::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QTreeView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    // The model gives each folder's full path, in the system's notation, as its tooltip.
    const QString path = index.data(Qt::ToolTipRole).toString();
    if (path.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), path, viewport(), visualRect(index));
    return true;
}
