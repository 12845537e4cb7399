// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The rows of the player list as a plain model: what lvwPlayer shows, in the player's order.
#pragma once

#include "device/PlayerFile.h"

#include <QString>

#include <functional>
#include <vector>

struct PlayerListRow {
    QString name;      // display name (item text)
    qint64 size = 0;   // listed size in bytes
    QString sizeText;  // size as the size column shows it
    int32_t index = 0; // entry index on the player (the item's tag)
    QString shortName; // 8.3 name, for the file-type icon
};

class PlayerList
{
public:
    // How the size column writes a byte count; plain decimal digits until the window sets
    // FormatSize with its size unit.
    using SizeFormatter = std::function<QString(qint64)>;
    void setSizeFormatter(SizeFormatter formatter);
    QString formatSize(qint64 bytes) const;

    const std::vector<PlayerListRow>& rows() const { return m_rows; }
    int count() const { return static_cast<int>(m_rows.size()); }
    const PlayerListRow& row(int position) const { return m_rows.at(static_cast<std::size_t>(position)); }

    // Row position of the first row with this display name (exact), or -1.
    int findName(const QString& name, int startPosition = 0) const;
    // Row position of the first row whose name equals the given one ignoring case, or -1.
    int findNameIgnoringCase(const QString& name) const;

    void clear() { m_rows.clear(); }
    void reserve(std::size_t rows) { m_rows.reserve(rows); }
    void append(const PlayerFile& file);

private:
    std::vector<PlayerListRow> m_rows;
    SizeFormatter m_formatter;
};
