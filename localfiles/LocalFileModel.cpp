// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "LocalFileModel.h"

#include "SizeOrder.h"

#include <QMimeData>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <numeric>

namespace
{

const QString& columnText(const LocalFileRow& row, int column)
{
    switch (column) {
    case LocalFileModel::ColSize:
        return row.sizeText;
    case LocalFileModel::ColTitle:
        return row.title;
    case LocalFileModel::ColArtist:
        return row.artist;
    case LocalFileModel::ColGenre:
        return row.genre;
    default:
        return row.name;
    }
}

} // namespace

LocalFileModel::LocalFileModel(QObject* parent)
    : QAbstractTableModel(parent), m_headers{QStringLiteral("Filename"), QStringLiteral("FileSize"),
                                             QStringLiteral("Title"), QStringLiteral("Artist"),
                                             QStringLiteral("Genre")}
{
}

void LocalFileModel::setRows(std::vector<LocalFileRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_order.resize(m_rows.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    endResetModel();
}

int LocalFileModel::findNameIgnoringCase(const QString& name) const
{
    for (int position = 0; position < count(); ++position) {
        if (row(position).name.compare(name, Qt::CaseInsensitive) == 0)
            return position;
    }
    return -1;
}

int LocalFileModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int LocalFileModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LocalFileModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    const LocalFileRow& entry = row(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return columnText(entry, index.column());
    case Qt::TextAlignmentRole:
        return index.column() == ColSize ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    case PathRole:
        return entry.path;
    case SizeRole:
        return entry.size;
    case RowIdRole:
        return rowId(index.row());
    case Qt::DecorationRole:
        if (index.column() == ColName && m_decoration)
            return m_decoration(entry, role);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant LocalFileModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headers.size())
        return m_headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void LocalFileModel::setHeaderTexts(const QStringList& texts)
{
    for (int i = 0; i < ColumnCount && i < texts.size(); ++i)
        m_headers[i] = texts.at(i);
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

Qt::ItemFlags LocalFileModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid())
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList LocalFileModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* LocalFileModel::mimeData(const QModelIndexList& indexes) const
{
    QList<QUrl> urls;
    QSet<int> seen;
    for (const QModelIndex& index : indexes) {
        if (!index.isValid() || index.row() >= count() || seen.contains(index.row()))
            continue;
        seen.insert(index.row());
        urls.append(QUrl::fromLocalFile(row(index.row()).path));
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

void LocalFileModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Views keep their selection and current row through persistent indexes; remember which
    // row each of them stood on.
    const QModelIndexList before = persistentIndexList();
    std::vector<int> idOf;
    idOf.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        idOf.push_back(rowId(index.row()));

    const bool ascending = order == Qt::AscendingOrder;
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        const LocalFileRow& ra = m_rows[std::size_t(a)];
        const LocalFileRow& rb = m_rows[std::size_t(b)];
        if (column == ColSize)
            return mLVSort::sizeLess(ra.size, rb.size, ascending);
        const int c = columnText(ra, column).compare(columnText(rb, column), Qt::CaseInsensitive);
        return ascending ? c < 0 : c > 0;
    });

    std::vector<int> positionOfId(m_rows.size());
    for (std::size_t position = 0; position < m_order.size(); ++position)
        positionOfId[std::size_t(m_order[position])] = int(position);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(index(positionOfId[std::size_t(idOf[std::size_t(i)])], before.at(i).column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
