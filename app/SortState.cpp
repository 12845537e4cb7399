// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/SortState.h"

Qt::SortOrder SortState::reversed(Qt::SortOrder order)
{
    return order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
}

SortState::Sort SortState::choose(int item)
{
    if (item == FileSize) {
        m_sorted = false;
        if (m_key == FileSize) {
            m_order = reversed(m_order);
        } else {
            m_key = FileSize;
            m_order = Qt::AscendingOrder;
        }
    } else {
        m_key = item;
        if (m_checked == item)
            m_order = reversed(m_order);
        m_sorted = true;
    }
    m_checked = item;
    return Sort{m_key, m_order};
}

void SortState::resetAfterScan()
{
    m_sorted = true;
    m_key = FileName;
    m_order = Qt::AscendingOrder;
}
