// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/LocalFileModel.h"
#include "localfiles/BlockList.h"

#include <QPersistentModelIndex>

#include <gtest/gtest.h>

namespace
{

LocalFileRow makeRow(const char* name, qint64 size)
{
    LocalFileRow row;
    row.name = QLatin1String(name);
    row.path = QLatin1String("/music/") + row.name;
    row.size = size;
    row.sizeText = size >= 0 ? QString::number(size) : QString();
    return row;
}

QStringList order(const LocalFileModel& model)
{
    QStringList names;
    for (int i = 0; i < model.count(); ++i)
        names.append(model.row(i).name);
    return names;
}

TEST(LocalFileModel, SortsSizesNumericallyWithUnknownSizesLast)
{
    LocalFileModel model;
    model.setRows({makeRow("a", 1000), makeRow("broken", -1), makeRow("b", 999), makeRow("c", 5)});
    model.sort(LocalFileModel::ColSize, Qt::AscendingOrder);
    EXPECT_EQ(order(model), QStringList({"c", "b", "a", "broken"}));
    model.sort(LocalFileModel::ColSize, Qt::DescendingOrder);
    EXPECT_EQ(order(model), QStringList({"a", "b", "c", "broken"}));
}

TEST(LocalFileModel, SortsTextColumnsIgnoringCase)
{
    LocalFileModel model;
    model.setRows({makeRow("beta", 1), makeRow("Alpha", 2), makeRow("gamma", 3)});
    model.sort(LocalFileModel::ColName, Qt::DescendingOrder);
    EXPECT_EQ(order(model), QStringList({"gamma", "beta", "Alpha"}));
}

TEST(LocalFileModel, SortingAgainByTitleFollowsAnEditedTitle)
{
    LocalFileModel model;
    std::vector<LocalFileRow> rows{makeRow("a", 1), makeRow("b", 2), makeRow("c", 3)};
    rows[0].title = QStringLiteral("Zulu");
    rows[1].title = QStringLiteral("alpha");
    rows[2].title = QStringLiteral("Mike");
    model.setRows(std::move(rows));
    model.sort(LocalFileModel::ColTitle, Qt::AscendingOrder);
    EXPECT_EQ(order(model), QStringList({"b", "c", "a"}));
    // The edited title must not keep the place its old text sorted to.
    model.setTagColumns(model.rowId(2), QStringLiteral("ALPHA 2"), QString(), QString());
    model.sort(LocalFileModel::ColTitle, Qt::AscendingOrder);
    EXPECT_EQ(order(model), QStringList({"b", "a", "c"}));
    model.sort(LocalFileModel::ColTitle, Qt::DescendingOrder);
    EXPECT_EQ(order(model), QStringList({"c", "a", "b"}));
}

TEST(LocalFileModel, SortKeepsPersistentIndexesOnTheirRows)
{
    LocalFileModel model;
    model.setRows({makeRow("a", 3), makeRow("b", 1), makeRow("c", 2)});
    const QPersistentModelIndex onA(model.index(0, 1));
    const int idOfA = model.rowId(0);
    model.sort(LocalFileModel::ColSize, Qt::AscendingOrder);
    EXPECT_EQ(onA.row(), 2);
    EXPECT_EQ(onA.column(), 1);
    EXPECT_EQ(model.rowId(2), idOfA);
    EXPECT_EQ(model.data(model.index(2, 0)).toString(), QStringLiteral("a"));
}

TEST(LocalFileModel, ShowsColumnsAndFindsNamesIgnoringCase)
{
    LocalFileModel model;
    LocalFileRow row = makeRow("Song.MP3", 1234);
    row.title = QStringLiteral("Yesterday");
    model.setRows({makeRow("x.mp3", 1), row});
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.data(model.index(1, LocalFileModel::ColTitle)).toString(), QStringLiteral("Yesterday"));
    EXPECT_EQ(model.data(model.index(1, 0), LocalFileModel::SizeRole).toLongLong(), 1234);
    EXPECT_EQ(model.data(model.index(1, 0), LocalFileModel::PathRole).toString(),
              QStringLiteral("/music/Song.MP3"));
    EXPECT_EQ(model.findNameIgnoringCase(QStringLiteral("song.mp3")), 1);
    EXPECT_EQ(model.findNameIgnoringCase(QStringLiteral("song.mp")), -1);
}

} // namespace

// Rows arrive in blocks of any size; reading them back in any order, across block boundaries
// and after more blocks came, finds each item where it was put.
TEST(BlockList, IndexesAcrossBlocksInAnyOrder)
{
    BlockList<int> list;
    EXPECT_TRUE(list.empty());
    int next = 0;
    for (const std::size_t length :
         {std::size_t(3), std::size_t(0), std::size_t(1), std::size_t(5), std::size_t(2)}) {
        std::vector<int> block(length);
        for (int& item : block)
            item = next++;
        list.append(std::move(block));
    }
    ASSERT_EQ(list.size(), std::size_t(next));
    for (const std::size_t index : {10, 0, 3, 4, 2, 9, 8, 5, 1, 7, 6})
        EXPECT_EQ(list[index], int(index)) << index;
    list[4] = 40;
    list.append({11, 12});
    EXPECT_EQ(list[4], 40);
    EXPECT_EQ(list[12], 12);
    EXPECT_EQ(list[3], 3);
}
