// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/SortState.h"

#include <gtest/gtest.h>

namespace
{

TEST(SortState, FileSizeChosenTwiceSortsAscendingThenDescending)
{
    SortState state;
    EXPECT_EQ(state.choose(SortState::FileSize).order, Qt::AscendingOrder);
    EXPECT_FALSE(state.sorted());
    const SortState::Sort second = state.choose(SortState::FileSize);
    EXPECT_EQ(second.column, 1);
    EXPECT_EQ(second.order, Qt::DescendingOrder);
}

TEST(SortState, AnotherTextItemKeepsTheDirectionTheSizeSortLeft)
{
    SortState state;
    state.choose(SortState::FileSize);
    state.choose(SortState::FileSize);
    const SortState::Sort byName = state.choose(SortState::FileName);
    EXPECT_EQ(byName.column, 0);
    EXPECT_EQ(byName.order, Qt::DescendingOrder);
    EXPECT_TRUE(state.sorted());
    EXPECT_EQ(state.checkedItem(), SortState::FileName);
}

TEST(SortState, TheItemCheckedFromTheStartReversesOnItsFirstChoice)
{
    SortState state;
    EXPECT_EQ(state.checkedItem(), SortState::FileName);
    EXPECT_EQ(state.choose(SortState::FileName).order, Qt::DescendingOrder);
    EXPECT_EQ(state.choose(SortState::FileName).order, Qt::AscendingOrder);
}

TEST(SortState, AScanResetsToNameAscendingButKeepsTheCheckMark)
{
    SortState state;
    state.choose(SortState::Artist);
    state.choose(SortState::Artist); // descending by artist
    state.resetAfterScan();
    EXPECT_EQ(state.key(), 0);
    EXPECT_EQ(state.order(), Qt::AscendingOrder);
    EXPECT_EQ(state.checkedItem(), SortState::Artist);
    // The checked item reverses the order it finds: ascending by name becomes descending by artist.
    const SortState::Sort sort = state.choose(SortState::Artist);
    EXPECT_EQ(sort.column, 3);
    EXPECT_EQ(sort.order, Qt::DescendingOrder);
}

TEST(SortState, SizeAfterATextSortStartsAscendingOnItsOwnColumn)
{
    SortState state;
    state.choose(SortState::FileName); // descending by name
    const SortState::Sort sort = state.choose(SortState::FileSize);
    EXPECT_EQ(sort.column, 1);
    EXPECT_EQ(sort.order, Qt::AscendingOrder);
}

} // namespace
