// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/DropRules.h"
#include "app/ListDragHandler.h"

#include <QMimeData>
#include <gtest/gtest.h>

#include <memory>

namespace
{

TEST(DropRules, LocalListTakesPlayerFilesExceptInTheMusicView)
{
    DragState fromPlayer{false, true, 1};
    EXPECT_TRUE(DropRules::localListAccepts(fromPlayer, false));
    EXPECT_FALSE(DropRules::localListAccepts(fromPlayer, true));
    DragState fromLocal{true, false, 0};
    EXPECT_FALSE(DropRules::localListAccepts(fromLocal, false)) << "a drag within the local list";
}

TEST(DropRules, PlayerListTakesLocalFilesAndOnePlayerFileButNotTwo)
{
    EXPECT_TRUE(DropRules::playerListAccepts(DragState{true, false, 0}, true));
    EXPECT_TRUE(DropRules::playerListAccepts(DragState{false, true, 1}, true));
    EXPECT_FALSE(DropRules::playerListAccepts(DragState{false, true, 2}, true));
    EXPECT_FALSE(DropRules::playerListAccepts(DragState{true, false, 0}, false)) << "from another program";
}

TEST(ListDrag, OnlyThisProcessesMarkerCountsAsOurs)
{
    std::unique_ptr<QMimeData> ours(ListDrag::makeMimeData());
    EXPECT_TRUE(ListDrag::isFromThisProgram(ours.get()));
    QMimeData files;
    files.setText(QStringLiteral("file:///tmp/song.mp3"));
    EXPECT_FALSE(ListDrag::isFromThisProgram(&files));
    QMimeData other;
    other.setData(QStringLiteral("application/x-zvd-list-drag"), "1");
    EXPECT_FALSE(ListDrag::isFromThisProgram(&other)) << "another ZVD's drag";
    EXPECT_FALSE(ListDrag::isFromThisProgram(nullptr));
}

} // namespace
