// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The folder tree's model: folders only, each folder's subfolders read when the tree first needs
// them. A general file system model reads and keeps every file of an opened folder (and looks each
// one up), which for a folder of 100,000 songs costs tens of megabytes and competes with the list
// being filled; this one reads only the names of a folder and keeps its subfolders.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <memory>
#include <vector>

class FolderTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit FolderTreeModel(QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // The row of a folder given by its path (either separator), reading the folders on the way;
    // invalid when it is no folder.
    QModelIndex index(const QString& path);
    using QAbstractItemModel::index;
    // The folder's path with '/' separators ("/" for the root, "C:/" for a drive).
    QString filePath(const QModelIndex& index) const;
    // Reads the folder's subfolders again: rows for new ones, none for those gone.
    void refresh(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // A folder's subfolders were read (the path as filePath gives it).
    void directoryLoaded(const QString& path);

private:
    struct Node;
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(Node* node) const;
    void list(Node* node);
    void insertChild(Node* parent, const QString& name);

    std::unique_ptr<Node> m_root;
    QIcon m_folderIcon;
    QIcon m_driveIcon;
};
