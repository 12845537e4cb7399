// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The sort of the local list chosen from the View menu's four sort items: which column, which
// direction, and which item carries the check mark. Choosing the checked text item again
// reverses the order; the size item toggles on its own column.
#pragma once

#include <Qt>

class SortState
{
public:
    enum Item { FileName = 0, FileSize = 1, SongTitle = 2, Artist = 3 };

    struct Sort {
        int column; // model column: 0 name, 1 size, 2 title, 3 artist
        Qt::SortOrder order;
    };

    // The sort a menu item asks for; also moves the check mark to it.
    Sort choose(int item);
    // A folder scan leaves the rows ascending by name; the check mark stays where it was.
    void resetAfterScan();

    int checkedItem() const { return m_checked; }
    int key() const { return m_key; }
    Qt::SortOrder order() const { return m_order; }
    // True while the list keeps itself in text order (a numeric sort clears it).
    bool sorted() const { return m_sorted; }

private:
    static Qt::SortOrder reversed(Qt::SortOrder order);

    bool m_sorted = true;
    int m_key = 0;
    Qt::SortOrder m_order = Qt::AscendingOrder;
    int m_checked = FileName;
};
