// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/PlayerList.h"

void PlayerList::setSizeFormatter(SizeFormatter formatter)
{
    m_formatter = std::move(formatter);
    for (PlayerListRow& row : m_rows)
        row.sizeText = formatSize(row.size);
}

QString PlayerList::formatSize(qint64 bytes) const
{
    return m_formatter ? m_formatter(bytes) : QString::number(bytes);
}

int PlayerList::findName(const QString& name, int startPosition) const
{
    for (int i = std::max(startPosition, 0); i < count(); ++i)
        if (m_rows[std::size_t(i)].name == name)
            return i;
    return -1;
}

int PlayerList::findNameIgnoringCase(const QString& name) const
{
    for (int i = 0; i < count(); ++i)
        if (m_rows[std::size_t(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void PlayerList::append(const PlayerFile& file)
{
    PlayerListRow row;
    row.name = file.displayName();
    row.size = file.listedSize();
    row.sizeText = formatSize(row.size);
    row.index = file.index;
    row.shortName = file.eightDotThree();
    m_rows.push_back(std::move(row));
}
