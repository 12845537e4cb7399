// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The local file list (lvwFile) as an item model: name, size, title, artist, genre.
#pragma once

#include "LocalFileRow.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

class LocalFileModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ColName = 0, ColSize, ColTitle, ColArtist, ColGenre, ColumnCount };
    enum Role { PathRole = Qt::UserRole + 1, SizeRole, RowIdRole };

    explicit LocalFileModel(QObject* parent = nullptr);

    // Replaces every row at once (one reset, however many rows). Rows come in the order given;
    // the scan hands them over ordered by name.
    void setRows(std::vector<LocalFileRow> rows);
    void clear() { setRows({}); }

    // Rows by view position. rowId() is the row's position in the order setRows received, which
    // sorting does not change; selection bookkeeping keys on it.
    int count() const { return int(m_order.size()); }
    const LocalFileRow& row(int position) const
    {
        return m_rows[std::size_t(m_order[std::size_t(position)])];
    }
    int rowId(int position) const { return m_order[std::size_t(position)]; }
    const LocalFileRow& rowById(int id) const { return m_rows[std::size_t(id)]; }

    // View position of the first row whose name equals name ignoring case, or -1.
    int findNameIgnoringCase(const QString& name) const;

    // Decoration (icons) comes from the window's icon lists; the core only asks for it.
    using DecorationSource = std::function<QVariant(const LocalFileRow& row, int role)>;
    void setDecorationSource(DecorationSource source) { m_decoration = std::move(source); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void setHeaderTexts(const QStringList& texts);
    // Rows can be dragged (to the player list, or to a file manager as file URLs).
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // Text columns sort case-insensitively, the size column by number (unknown sizes last).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    std::vector<LocalFileRow> m_rows;
    std::vector<int> m_order;
    QStringList m_headers;
    DecorationSource m_decoration;
};
