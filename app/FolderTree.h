// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The folder tree (fldView): one column that is as wide as its widest shown folder, so deep
// folders scroll sideways instead of being cut, and a tooltip with the full path of the folder
// under the mouse.
#pragma once

#include <QTimer>
#include <QTreeView>

class FolderTree : public QTreeView
{
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);
    void setModel(QAbstractItemModel* model) override;

protected:
    bool viewportEvent(QEvent* event) override;

private:
    // The column is fitted once the tree has been quiet for a moment, not at every batch of
    // folders the model adds while it reads a large folder.
    QTimer m_fit;
};
