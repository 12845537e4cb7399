// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// What the two file lists report about drags to the window that decides and acts on them.
#pragma once

#include <QPoint>

class QAbstractItemView;
class QMimeData;

enum class FileList { Local, Player };

class ListDragHandler
{
public:
    virtual ~ListDragHandler() = default;
    virtual void dragStarted(FileList source) = 0;
    virtual void dragCompleted(FileList source) = 0;
    // data: what the drag carries (our marker, or file URLs from outside the program).
    virtual bool dropAccepted(FileList target, const QMimeData* data) = 0;
    // position: in the list's viewport.
    virtual void dropped(FileList target, QPoint position, const QMimeData* data) = 0;
};

namespace ListDrag
{

// The drag data both lists offer: a marker of this process (the local list adds the files'
// URLs, so a file manager can take them too).
QMimeData* makeMimeData();
bool isFromThisProgram(const QMimeData* data);

// Runs a drag of the list's selection: tells the handler it started, runs it, tells it it ended.
void run(QAbstractItemView* view, ListDragHandler* handler, FileList source);

} // namespace ListDrag
