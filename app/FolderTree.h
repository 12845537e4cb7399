// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The folder tree (fldView): one column that is as wide as its widest shown folder, so deep
// folders scroll sideways instead of being cut, and a tooltip with the full path of the folder
// under the mouse.
#pragma once

#include <QTreeView>

class FolderTree : public QTreeView
{
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

protected:
    bool viewportEvent(QEvent* event) override;
};
