// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The selected rows of a list, top to bottom, as both lists hand them to the operations.
#pragma once

#include <QItemSelectionModel>
#include <QList>

#include <algorithm>

inline QList<int> sortedSelectedRows(const QItemSelectionModel* selection)
{
    QList<int> rows;
    if (!selection)
        return rows;
    for (const QModelIndex& index : selection->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}
