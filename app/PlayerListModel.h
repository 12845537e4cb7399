// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player list (lvwPlayer) as an item model over the session's rows: display name and size,
// in the player's order. A label edit is reported, not applied: the list only ever shows what
// the player reports after the rename.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

#include "device/PlayerList.h"

#include <vector>

class PlayerListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role { EntryIndexRole = Qt::UserRole + 1 };

    explicit PlayerListModel(const PlayerList& list, QObject* parent = nullptr);

    // The session's rows changed: show them again. The model shows a copy taken here, so a
    // transfer that re-reads the player on its worker thread never changes rows a paint reads.
    void reload();
    void setHeaderTexts(const QStringList& texts);
    // May a label edit start (a connection is open)?
    void setEditable(std::function<bool()> editable) { m_editable = std::move(editable); }

    using DecorationSource = std::function<QVariant(const PlayerListRow& row, int role)>;
    void setDecorationSource(DecorationSource source) { m_decoration = std::move(source); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A label edit ended with this text on the row at this position.
    void renameRequested(int rowPosition, const QString& typed);

private:
    const PlayerList& m_list;
    std::vector<PlayerListRow> m_rows;
    QStringList m_headers;
    std::function<bool()> m_editable;
    DecorationSource m_decoration;
};
