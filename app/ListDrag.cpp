// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/ListDragHandler.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDrag>
#include <QMimeData>

namespace ListDrag
{
namespace
{

const QString kFormat = QStringLiteral("application/x-zvd-list-drag");

QByteArray processMarker()
{
    return QByteArray::number(QCoreApplication::applicationPid());
}

} // namespace

QMimeData* makeMimeData()
{
    auto* data = new QMimeData;
    data->setData(kFormat, processMarker());
    return data;
}

bool isFromThisProgram(const QMimeData* data)
{
    return data && data->hasFormat(kFormat) && data->data(kFormat) == processMarker();
}

void run(QAbstractItemView* view, ListDragHandler* handler, FileList source)
{
    if (!view->selectionModel() || !view->selectionModel()->hasSelection())
        return;
    if (handler)
        handler->dragStarted(source);
    auto* drag = new QDrag(view);
    QMimeData* data = nullptr;
    if (source == FileList::Local && view->model())
        data = view->model()->mimeData(view->selectionModel()->selectedRows());
    if (!data)
        data = new QMimeData;
    data->setData(kFormat, processMarker());
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    if (handler)
        handler->dragCompleted(source);
}

} // namespace ListDrag
