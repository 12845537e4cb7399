// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/FolderTreeModel.h"

#include "core/LocalPath.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>

#include <algorithm>
#include <chrono>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

struct FolderTreeModel::Node {
    QString name; // as the tree shows it
    QString path; // '/' separators
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    bool listed = false;
    std::chrono::steady_clock::time_point listedAt;
    int row = 0; // among parent's children, kept by renumber()

    void renumber()
    {
        for (std::size_t i = 0; i < children.size(); ++i)
            children[i]->row = int(i);
    }
};

namespace
{

bool lessByName(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

QString childPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// The names of the folder's subfolders, hidden ones left out, sorted as the tree shows them.
QStringList subfolders(const QString& folder)
{
    QStringList names;
#ifdef Q_OS_UNIX
    // The folder's listing tells most entries' types itself: files, however many, cost no
    // look-up of their own.
    const QByteArray native = LocalPath::encode(folder);
    DIR* dir = ::opendir(native.constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue; // ".", ".." and hidden folders
        bool folderEntry = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat status {
            };
            folderEntry = ::fstatat(::dirfd(dir), entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
        }
        if (!folderEntry)
            continue;
        if (const auto name = LocalPath::decodeName(QByteArrayView(entry->d_name)))
            names.append(*name);
    }
    ::closedir(dir);
#else
    names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
#endif
    std::sort(names.begin(), names.end(), lessByName);
    return names;
}

} // namespace

FolderTreeModel::FolderTreeModel(QObject* parent)
    : QAbstractItemModel(parent), m_root(std::make_unique<Node>())
{
    const QFileIconProvider icons;
    m_folderIcon = icons.icon(QFileIconProvider::Folder);
    m_driveIcon = icons.icon(QFileIconProvider::Drive);
    // The tops of the tree: the drives on Windows, the one root elsewhere.
    m_root->listed = true;
    for (const QFileInfo& drive : QDir::drives()) {
        auto node = std::make_unique<Node>();
        node->path = drive.absoluteFilePath();
        node->name =
            node->path == QLatin1String("/") ? node->path : QDir::toNativeSeparators(node->path).chopped(1);
        node->parent = m_root.get();
        m_root->children.push_back(std::move(node));
    }
    m_root->renumber();
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : m_root.get();
}

QModelIndex FolderTreeModel::indexOf(Node* node) const
{
    return node == m_root.get() ? QModelIndex() : createIndex(node->row, 0, node);
}

void FolderTreeModel::list(Node* node)
{
    if (node->listed)
        return;
    node->listed = true;
    node->listedAt = std::chrono::steady_clock::now();
    const QStringList names = subfolders(node->path);
    if (!names.isEmpty()) {
        beginInsertRows(indexOf(node), 0, int(names.size()) - 1);
        node->children.reserve(std::size_t(names.size()));
        for (const QString& name : names) {
            auto child = std::make_unique<Node>();
            child->name = name;
            child->path = childPath(node->path, name);
            child->parent = node;
            node->children.push_back(std::move(child));
        }
        node->renumber();
        endInsertRows();
    }
    emit directoryLoaded(node->path);
}

void FolderTreeModel::insertChild(Node* parent, const QString& name)
{
    auto& children = parent->children;
    const auto at = std::lower_bound(
        children.begin(), children.end(), name,
        [](const std::unique_ptr<Node>& n, const QString& key) { return lessByName(n->name, key); });
    const int row = int(at - children.begin());
    beginInsertRows(indexOf(parent), row, row);
    auto child = std::make_unique<Node>();
    child->name = name;
    child->path = childPath(parent->path, name);
    child->parent = parent;
    children.insert(at, std::move(child));
    parent->renumber();
    endInsertRows();
}

void FolderTreeModel::refresh(const QModelIndex& index)
{
    Node* node = nodeOf(index);
    // A folder read just now (opening it is what read it) is not read twice.
    if (node == m_root.get() || !node->listed ||
        std::chrono::steady_clock::now() - node->listedAt < std::chrono::seconds(2))
        return;
    node->listedAt = std::chrono::steady_clock::now();
    const QStringList names = subfolders(node->path);
    // Gone first (from the end, so rows ahead stay put), then the new ones in their places.
    for (int row = int(node->children.size()) - 1; row >= 0; --row) {
        if (names.contains(node->children[std::size_t(row)]->name))
            continue;
        beginRemoveRows(index, row, row);
        node->children.erase(node->children.begin() + row);
        node->renumber();
        endRemoveRows();
    }
    for (const QString& name : names) {
        const bool known =
            std::any_of(node->children.begin(), node->children.end(),
                        [&](const std::unique_ptr<Node>& child) { return child->name == name; });
        if (!known)
            insertChild(node, name);
    }
}

QModelIndex FolderTreeModel::index(const QString& path)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (clean.isEmpty() || !QFileInfo(clean).isDir())
        return {};
    // The top the path lies on, then one name after the other below it.
    Node* node = nullptr;
    for (const auto& top : m_root->children) {
        if (clean.startsWith(top->path, Qt::CaseInsensitive) ||
            clean.compare(top->path.chopped(1), Qt::CaseInsensitive) == 0) {
            node = top.get();
            break;
        }
    }
    if (!node)
        return {};
    const QStringList parts = clean.mid(node->path.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity sensitivity = Qt::CaseSensitive;
#endif
    for (const QString& part : parts) {
        list(node);
        const auto find = [&] {
            const auto it = std::find_if(node->children.begin(), node->children.end(),
                                         [&](const std::unique_ptr<Node>& child) {
                                             return child->name.compare(part, sensitivity) == 0;
                                         });
            return it == node->children.end() ? nullptr : it->get();
        };
        Node* next = find();
        if (!next) {
            // Made since the folder was read, or hidden: it gets its row now that it is asked for.
            if (!QFileInfo(childPath(node->path, part)).isDir())
                return {};
            insertChild(node, part);
            next = find();
        }
        node = next;
    }
    return indexOf(node);
}

QString FolderTreeModel::filePath(const QModelIndex& index) const
{
    return index.isValid() ? nodeOf(index)->path : QString();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || std::size_t(row) >= node->children.size())
        return {};
    return createIndex(row, 0, node->children[std::size_t(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return indexOf(nodeOf(child)->parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node* node = nodeOf(index);
    if (role == Qt::DisplayRole)
        return node->name;
    if (role == Qt::DecorationRole)
        return node->parent == m_root.get() ? m_driveIcon : m_folderIcon;
    if (role == Qt::ToolTipRole)
        return QDir::toNativeSeparators(node->path);
    return {};
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    // Unread folders may hold folders: they offer to open, and are read when opened.
    return node->listed ? !node->children.empty() : true;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const
{
    return !nodeOf(parent)->listed;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent)
{
    list(nodeOf(parent));
}
