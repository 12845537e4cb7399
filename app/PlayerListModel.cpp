// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/PlayerListModel.h"

#include "device/PlayerList.h"

PlayerListModel::PlayerListModel(const PlayerList& list, QObject* parent)
    : QAbstractTableModel(parent),
      m_list(list), m_headers{QStringLiteral("Filename"), QStringLiteral("FileSize")}
{
}

void PlayerListModel::reload()
{
    beginResetModel();
    m_rows = m_list.rows();
    endResetModel();
}

void PlayerListModel::setHeaderTexts(const QStringList& texts)
{
    m_headers = texts;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int PlayerListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PlayerListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant PlayerListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const PlayerListRow& row = m_rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return index.column() == 0 ? row.name : row.sizeText;
    case Qt::TextAlignmentRole:
        return index.column() == 1 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case EntryIndexRole:
        return row.index;
    case Qt::DecorationRole:
        return index.column() == 0 && m_decoration ? m_decoration(row, role) : QVariant();
    default:
        return {};
    }
}

QVariant PlayerListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_headers.size())
        return {};
    return m_headers.at(section);
}

Qt::ItemFlags PlayerListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return flags | Qt::ItemIsDropEnabled;
    flags |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (index.column() == 0 && m_editable && m_editable())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool PlayerListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0)
        return false;
    emit renameRequested(index.row(), value.toString());
    return false;
}
