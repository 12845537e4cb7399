// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/SyncPlan.h"

#include <gtest/gtest.h>

namespace
{

using Action = SyncItem::Action;
const QString Folder = QStringLiteral("/music");

SourceFile file(const QString& relativePath, qint64 size, qint64 modified = 1000)
{
    return {relativePath, Folder + QLatin1Char('/') + relativePath,
            relativePath.mid(relativePath.lastIndexOf(QLatin1Char('/')) + 1), size, modified};
}

PlayerFile entry(int32_t index, const QString& name, qint64 stored,
                 const QString& extension = QStringLiteral("MP3"))
{
    return {index, name.left(6).toUpper(), extension, stored, name};
}

SyncRecordEntry recorded(const QString& relativePath, qint64 size, qint64 modified = 1000,
                         const QString& folder = Folder)
{
    const QString name = relativePath.mid(relativePath.lastIndexOf(QLatin1Char('/')) + 1);
    return {folder, relativePath, name, size, modified, size + TitleBlockSize, OrderKey()};
}

class SyncPlanTest : public ::testing::Test
{
protected:
    SyncPlanTest()
    {
        input.folder = Folder;
        input.freeBytes = 100'000'000;
        input.readKey = [](const SourceFile& f) { return OrderKey{QString(), QString(), 0, int(f.size)}; };
    }

    SyncPlan plan() { return SyncPlanner::makePlan(input); }

    static const SyncItem* item(const SyncPlan& plan, const QString& name)
    {
        for (const SyncItem& i : plan.items)
            if (i.name == name || i.relativePath == name)
                return &i;
        return nullptr;
    }

    static QString describe(const SyncPlan& plan, const QString& name)
    {
        const SyncItem* i = item(plan, name);
        return i ? QString::fromLatin1(SyncPlanner::actionWord(i->action)) + QLatin1Char(' ') + i->reason
                 : QStringLiteral("(absent)");
    }

    SyncInput input;
};

} // namespace

TEST_F(SyncPlanTest, FirstPlanSendsMusicAndSkipsWhatThePlayerCannotTake)
{
    input.files = {file(QStringLiteral("A/a.mp3"), 10),
                   file(QStringLiteral("A/b.flac"), 10),
                   file(QStringLiteral("A/cover.jpg"), 10),
                   file(QStringLiteral("B/A.MP3"), 10),
                   file(QStringLiteral("B/w.WMA"), 10),
                   file(QStringLiteral("B/") + QString(300, QLatin1Char('n')) + QStringLiteral(".mp3"), 10)};
    const SyncPlan p = plan();
    EXPECT_EQ(describe(p, QStringLiteral("A/a.mp3")), QStringLiteral("send new"));
    EXPECT_EQ(describe(p, QStringLiteral("A/b.flac")), QStringLiteral("skip needs converting"));
    EXPECT_EQ(describe(p, QStringLiteral("A/cover.jpg")), QStringLiteral("skip not a music file"));
    // The player keeps one flat list: a second file of the same name (any case) cannot go too.
    EXPECT_TRUE(
        describe(p, QStringLiteral("B/A.MP3")).startsWith(QStringLiteral("skip the player keeps one")));
    EXPECT_EQ(describe(p, QStringLiteral("B/w.WMA")), QStringLiteral("send new"));
    EXPECT_EQ(p.items.back().action, Action::Skip); // the name too long for the player
    EXPECT_EQ(p.sendCount, 2);
    EXPECT_TRUE(p.fits());
    EXPECT_EQ(item(p, QStringLiteral("A/a.mp3"))->stored, 10 + TitleBlockSize);
}

TEST_F(SyncPlanTest, UnchangedFilesAreKeptAndChangedOnesReplaced)
{
    input.files = {file(QStringLiteral("a.mp3"), 10), file(QStringLiteral("b.mp3"), 20, 2000),
                   file(QStringLiteral("c.mp3"), 31)};
    input.entries = {entry(0, QStringLiteral("a.mp3"), 10 + TitleBlockSize),
                     entry(1, QStringLiteral("b.mp3"), 20 + TitleBlockSize),
                     entry(2, QStringLiteral("c.mp3"), 30 + TitleBlockSize)};
    input.record.arrived = {recorded(QStringLiteral("a.mp3"), 10), recorded(QStringLiteral("b.mp3"), 20),
                            recorded(QStringLiteral("c.mp3"), 30)};
    const SyncPlan p = plan();
    EXPECT_EQ(describe(p, QStringLiteral("a.mp3")), QStringLiteral("keep unchanged"));
    EXPECT_EQ(describe(p, QStringLiteral("b.mp3")), QStringLiteral("send changed")); // same size, newer
    EXPECT_EQ(describe(p, QStringLiteral("c.mp3")), QStringLiteral("send changed"));
    EXPECT_TRUE(item(p, QStringLiteral("c.mp3"))->replaces);
    EXPECT_EQ(p.items.size(), 3u);
}

TEST_F(SyncPlanTest, MirrorDeletesOnlyEntriesThisFolderSent)
{
    input.entries = {entry(0, QStringLiteral("gone.mp3"), 10 + TitleBlockSize),
                     entry(1, QStringLiteral("byhand.mp3"), 50),
                     entry(2, QStringLiteral("other.mp3"), 20 + TitleBlockSize),
                     entry(3, QStringLiteral("replaced.mp3"), 999),
                     entry(4, QStringLiteral("voice.ZVD"), 100, QStringLiteral("ZVD"))};
    input.record.arrived = {recorded(QStringLiteral("gone.mp3"), 10),
                            recorded(QStringLiteral("other.mp3"), 20, 1000, QStringLiteral("/elsewhere")),
                            recorded(QStringLiteral("replaced.mp3"), 30)};
    SyncInput kept = input;
    const SyncPlan withoutMirror = SyncPlanner::makePlan(kept);
    EXPECT_EQ(describe(withoutMirror, QStringLiteral("gone.mp3")),
              QStringLiteral("keep gone from the folder (a mirror sync deletes it)"));
    EXPECT_EQ(withoutMirror.count(Action::Delete), 0);

    input.options.mirror = true;
    const SyncPlan p = plan();
    EXPECT_EQ(describe(p, QStringLiteral("gone.mp3")), QStringLiteral("delete gone from the folder"));
    EXPECT_EQ(describe(p, QStringLiteral("byhand.mp3")), QStringLiteral("keep not sent by a sync"));
    EXPECT_EQ(describe(p, QStringLiteral("other.mp3")), QStringLiteral("keep sent from another folder"));
    // The user replaced it by hand since (another stored size): no longer ours to delete.
    EXPECT_EQ(describe(p, QStringLiteral("replaced.mp3")), QStringLiteral("keep not sent by a sync"));
    EXPECT_EQ(item(p, QStringLiteral("voice.ZVD")), nullptr); // recordings are not music
    EXPECT_EQ(p.count(Action::Delete), 1);
    EXPECT_EQ(p.freedBytes, 10 + TitleBlockSize);
}

TEST_F(SyncPlanTest, SameNameNotSentBySyncIsKeptWhenAlikeAndNeverOverwritten)
{
    input.files = {file(QStringLiteral("same.mp3"), 40), file(QStringLiteral("differs.mp3"), 41),
                   file(QStringLiteral("note.mp3"), 5)};
    input.entries = {entry(0, QStringLiteral("SAME.mp3"), 40 + TitleBlockSize),
                     entry(1, QStringLiteral("differs.mp3"), 99 + TitleBlockSize),
                     entry(2, QStringLiteral("note.mp3"), 5, QStringLiteral("TXT"))};
    input.options.mirror = true;
    const SyncPlan p = plan();
    EXPECT_EQ(describe(p, QStringLiteral("same.mp3")),
              QStringLiteral("keep already on the player, not sent from this folder"));
    EXPECT_EQ(describe(p, QStringLiteral("differs.mp3")),
              QStringLiteral("skip another file of this name is on the player"));
    EXPECT_EQ(describe(p, QStringLiteral("note.mp3")),
              QStringLiteral("skip the player holds a file of this name in another view"));
    EXPECT_EQ(p.sendCount, 0);
}

TEST_F(SyncPlanTest, PendingEntriesOfAKilledSyncCountOnlyWhenTheyArrivedWhole)
{
    input.files = {file(QStringLiteral("a.mp3"), 10), file(QStringLiteral("b.mp3"), 20)};
    // a arrived whole before the kill; b's entry has another size (not this send's copy).
    input.entries = {entry(0, QStringLiteral("a.mp3"), 10 + TitleBlockSize),
                     entry(1, QStringLiteral("b.mp3"), 7)};
    input.record.pending = {recorded(QStringLiteral("a.mp3"), 10), recorded(QStringLiteral("b.mp3"), 20)};
    const SyncPlan p = plan();
    EXPECT_EQ(describe(p, QStringLiteral("a.mp3")), QStringLiteral("keep unchanged"));
    EXPECT_EQ(describe(p, QStringLiteral("b.mp3")),
              QStringLiteral("skip another file of this name is on the player"));
    EXPECT_TRUE(input.record.pending.empty());
    ASSERT_EQ(input.record.arrived.size(), 1u);
    EXPECT_EQ(input.record.arrived.front().name, QStringLiteral("a.mp3"));
}

TEST_F(SyncPlanTest, WhatFitsIsTheFirstFilesInFolderOrderCountedInWholeUnits)
{
    input.unitBytes = 16384;
    input.files = {file(QStringLiteral("1.mp3"), 100), file(QStringLiteral("2.mp3"), 20000),
                   file(QStringLiteral("3.mp3"), 100)};
    input.freeBytes = 3 * 16384; // 1 unit + 2 units fit; the third file's unit does not
    SyncPlan p = plan();
    EXPECT_FALSE(p.fits());
    EXPECT_EQ(p.sendsThatFit, 2);
    EXPECT_EQ(p.neededBytes, 4 * 16384);
    p.keepWhatFits();
    EXPECT_EQ(describe(p, QStringLiteral("3.mp3")), QStringLiteral("skip does not fit on the player"));
    EXPECT_EQ(p.sendCount, 2);
    EXPECT_TRUE(p.fits());

    // Deletes of a mirror sync make room first.
    input.options.mirror = true;
    input.entries = {entry(0, QStringLiteral("old.mp3"), 16384)};
    input.record.arrived = {recorded(QStringLiteral("old.mp3"), 16384 - TitleBlockSize)};
    EXPECT_TRUE(plan().fits());
}

TEST_F(SyncPlanTest, ReplacementNeedsRoomForTheNewCopyBesideTheOld)
{
    input.unitBytes = 1000;
    input.files = {file(QStringLiteral("a.mp3"), 2000, 5)};
    input.entries = {entry(0, QStringLiteral("a.mp3"), 2000 + TitleBlockSize)};
    input.record.arrived = {recorded(QStringLiteral("a.mp3"), 2000)};
    input.freeBytes = 3000;
    EXPECT_FALSE(plan().fits()); // the old copy stays until the new one (4 units) is in
    input.record.arrived = {recorded(QStringLiteral("a.mp3"), 2000)};
    input.freeBytes = 4000;
    EXPECT_TRUE(plan().fits());
}

TEST_F(SyncPlanTest, SendsGoInTheOrderTheEntriesAreToEndIn)
{
    input.files = {file(QStringLiteral("x/c.mp3"), 3), file(QStringLiteral("x/a.mp3"), 1),
                   file(QStringLiteral("y/b.mp3"), 2)};
    const auto names = [](const SyncPlan& p) {
        QStringList list;
        for (const SyncItem* i : p.sendOrder())
            list << i->name;
        return list.join(QLatin1Char(' '));
    };
    EXPECT_EQ(names(plan()), QStringLiteral("a.mp3 b.mp3 c.mp3")); // the stub's key: track = size
    input.options.order = SyncOrder::None;
    EXPECT_EQ(names(plan()), QStringLiteral("c.mp3 a.mp3 b.mp3")); // folder order as scanned
}
