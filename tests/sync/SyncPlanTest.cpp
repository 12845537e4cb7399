// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/SyncPlan.h"

#include "convert/ConvertibleFormats.h"

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
        // The file first: "a.flac" is named "a.mp3" on the player, as the file a.mp3 is.
        for (const SyncItem& i : plan.items)
            if (i.relativePath == name)
                return &i;
        for (const SyncItem& i : plan.items)
            if (i.name == name)
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
    EXPECT_EQ(describe(p, QStringLiteral("A/b.flac")),
              ConvertibleFormats::conversionAvailable() ? QStringLiteral("send new; converted to MP3 at V2")
                                                        : QStringLiteral("skip needs converting"));
    EXPECT_EQ(describe(p, QStringLiteral("A/cover.jpg")), QStringLiteral("skip not a music file"));
    // The player keeps one flat list: a second file of the same name (any case) cannot go too.
    EXPECT_TRUE(
        describe(p, QStringLiteral("B/A.MP3")).startsWith(QStringLiteral("skip the player keeps one")));
    EXPECT_EQ(describe(p, QStringLiteral("B/w.WMA")), QStringLiteral("send new"));
    EXPECT_EQ(p.items.back().action, Action::Skip); // the name too long for the player
    EXPECT_EQ(p.sendCount, ConvertibleFormats::conversionAvailable() ? 3 : 2);
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

// A build without the converter skips such files (checked above); the rest is for one with it.
#ifdef ZVD_HAVE_CONVERSION

// Files the player cannot play go as MP3s; the plan names them, sizes them and keeps names apart.
class ConvertingPlanTest : public SyncPlanTest
{
protected:
    ConvertingPlanTest()
    {
        // A converted file's MP3 takes a tenth of the file here, whatever the quality.
        input.estimate = [this](const SourceFile& f, const ConversionQuality& quality) {
            qualitiesAsked << quality.text();
            return f.size / 10;
        };
    }
    QStringList qualitiesAsked;
};

TEST_F(ConvertingPlanTest, ConvertedFilesGoUnderTheirMp3NameAndAnMp3OfThatNameWins)
{
    input.options.quality = *ConversionQuality::parse(QStringLiteral("CBR320"));
    input.files = {file(QStringLiteral("a.flac"), 1000), file(QStringLiteral("a.mp3"), 10),
                   file(QStringLiteral("B.Ogg"), 2000),  file(QStringLiteral("x/c.flac"), 3000),
                   file(QStringLiteral("y/C.opus"), 10), file(QStringLiteral("z/d.m4a"), 500),
                   file(QStringLiteral("z/D.MP3"), 20)};
    const SyncPlan p = plan();
    // a.flac comes first in folder order, yet the MP3 the user has of the song is what goes.
    EXPECT_EQ(describe(p, QStringLiteral("a.flac")),
              QStringLiteral("skip its MP3 would have the name of a.mp3, which is sent instead"));
    EXPECT_EQ(describe(p, QStringLiteral("a.mp3")), QStringLiteral("send new"));
    EXPECT_EQ(describe(p, QStringLiteral("z/d.m4a")),
              QStringLiteral("skip its MP3 would have the name of z/D.MP3, which is sent instead"));
    // Two converted files of one name: the first in folder order has it.
    EXPECT_EQ(describe(p, QStringLiteral("x/c.flac")),
              QStringLiteral("send new; converted to MP3 at CBR320"));
    EXPECT_EQ(describe(p, QStringLiteral("y/C.opus")),
              QStringLiteral("skip the player keeps one file of a name; x/c.flac has it"));

    const SyncItem* ogg = item(p, QStringLiteral("B.Ogg"));
    ASSERT_NE(ogg, nullptr);
    EXPECT_EQ(ogg->name, QStringLiteral("B.mp3"));
    EXPECT_TRUE(ogg->converted);
    EXPECT_EQ(ogg->size, 2000);    // the file's, as the record keeps it
    EXPECT_EQ(ogg->sendSize, 200); // its MP3's
    EXPECT_EQ(ogg->stored, 200 + TitleBlockSize);
    EXPECT_EQ(p.bytes(Action::Send), 10 + 200 + 300 + 20);
    EXPECT_EQ(p.sendCount, 4);
    // Only the sends are estimated, at the chosen quality.
    EXPECT_EQ(qualitiesAsked, QStringList(2, QStringLiteral("CBR320")));
}

TEST_F(ConvertingPlanTest, CapacityCountsTheMp3sExpectedSizeNotTheFiles)
{
    input.files = {file(QStringLiteral("1.flac"), 40'000'000), file(QStringLiteral("2.flac"), 40'000'000),
                   file(QStringLiteral("3.mp3"), 1'000'000)};
    input.unitBytes = 4096;
    input.freeBytes = 10'000'000; // far less than the files, more than their MP3s
    SyncPlan p = plan();
    EXPECT_TRUE(p.fits());
    EXPECT_EQ(p.sendCount, 3);

    // Room for the first MP3 only: what fits is counted by the estimate too, in folder order.
    input.freeBytes = 5'000'000;
    p = plan();
    EXPECT_FALSE(p.fits());
    EXPECT_EQ(p.sendsThatFit, 1);
    p.keepWhatFits();
    EXPECT_EQ(describe(p, QStringLiteral("2.flac")), QStringLiteral("skip does not fit on the player"));
    EXPECT_EQ(p.items[1].why, SyncItem::Why::DoesNotFit);

    // A file whose playing time cannot be read counts with its own size.
    input.estimate = [](const SourceFile&, const ConversionQuality&) { return qint64(0); };
    input.freeBytes = 50'000'000;
    p = plan();
    EXPECT_EQ(item(p, QStringLiteral("1.flac"))->sendSize, 40'000'000);
    EXPECT_EQ(p.sendsThatFit, 1);
}

TEST_F(ConvertingPlanTest, AConvertedFileIsUnchangedUntilTheFileOrTheQualityChanges)
{
    // The record keeps the size the MP3 took on the player, unrelated to the file's.
    const qint64 stored = 123'456;
    const auto sentAt = [&](const QString& relativePath, const QString& quality) {
        SyncRecordEntry e = recorded(relativePath, 5000);
        e.name = QString(relativePath).replace(QStringLiteral(".flac"), QStringLiteral(".mp3"));
        e.stored = stored;
        e.quality = quality;
        return e;
    };
    input.files = {file(QStringLiteral("same.flac"), 5000), file(QStringLiteral("newer.flac"), 5000, 2000),
                   file(QStringLiteral("other.flac"), 5000)};
    input.entries = {entry(0, QStringLiteral("same.mp3"), stored),
                     entry(1, QStringLiteral("newer.mp3"), stored),
                     entry(2, QStringLiteral("other.mp3"), stored)};
    input.record.arrived = {sentAt(QStringLiteral("same.flac"), QStringLiteral("V2")),
                            sentAt(QStringLiteral("newer.flac"), QStringLiteral("V2")),
                            sentAt(QStringLiteral("other.flac"), QStringLiteral("V5"))};
    SyncInput again = input;
    const SyncPlan p = plan();
    EXPECT_EQ(describe(p, QStringLiteral("same.flac")), QStringLiteral("keep unchanged"));
    EXPECT_EQ(describe(p, QStringLiteral("newer.flac")),
              QStringLiteral("send changed; converted to MP3 at V2"));
    EXPECT_EQ(describe(p, QStringLiteral("other.flac")),
              QStringLiteral("send converted at V5 before; sent again at V2"));
    EXPECT_TRUE(item(p, QStringLiteral("other.flac"))->replaces);
    EXPECT_EQ(item(p, QStringLiteral("other.flac"))->whyArgs,
              (QStringList{QStringLiteral("V5"), QStringLiteral("V2")}));
    // Settling against the player kept the real stored sizes.
    EXPECT_EQ(input.record.arrived.size(), 3u);

    // Another quality re-sends every converted file, and only those.
    again.options.quality = *ConversionQuality::parse(QStringLiteral("V5"));
    again.files.push_back(file(QStringLiteral("plain.mp3"), 10));
    again.entries.push_back(entry(3, QStringLiteral("plain.mp3"), 10 + TitleBlockSize));
    again.record.arrived.push_back(recorded(QStringLiteral("plain.mp3"), 10));
    const SyncPlan q = SyncPlanner::makePlan(again);
    EXPECT_EQ(describe(q, QStringLiteral("same.flac")),
              QStringLiteral("send converted at V2 before; sent again at V5"));
    EXPECT_EQ(describe(q, QStringLiteral("other.flac")), QStringLiteral("keep unchanged"));
    EXPECT_EQ(describe(q, QStringLiteral("plain.mp3")), QStringLiteral("keep unchanged"));
}

TEST_F(ConvertingPlanTest, APendingMp3CountsAsArrivedOnlyWhenThePlayerHoldsANewCopy)
{
    // A sync killed while converted files were on their way: their sizes were never known.
    SyncRecord record;
    const auto pending = [](const QString& name) {
        return SyncRecordEntry{Folder, name, name, 5000, 1000, 0, OrderKey(), QStringLiteral("V2")};
    };
    record.arrived = {SyncRecordEntry{Folder, QStringLiteral("old.flac"), QStringLiteral("old.mp3"), 4000,
                                      500, 700, OrderKey(), QStringLiteral("V2")},
                      SyncRecordEntry{Folder, QStringLiteral("kept.flac"), QStringLiteral("kept.mp3"), 4000,
                                      500, 800, OrderKey(), QStringLiteral("V2")}};
    record.pending = {pending(QStringLiteral("new.mp3")), pending(QStringLiteral("lost.mp3")),
                      pending(QStringLiteral("old.mp3")), pending(QStringLiteral("kept.mp3"))};
    // new.mp3 arrived; lost.mp3 did not; old.mp3 was replaced by its new copy; kept.mp3 still
    // holds the old copy.
    SyncPlanner::settle(record,
                        {entry(0, QStringLiteral("new.mp3"), 900), entry(1, QStringLiteral("old.mp3"), 950),
                         entry(2, QStringLiteral("kept.mp3"), 800)});
    EXPECT_TRUE(record.pending.empty());
    ASSERT_NE(record.find(QStringLiteral("new.mp3")), nullptr);
    EXPECT_EQ(record.find(QStringLiteral("new.mp3"))->stored, 900);
    EXPECT_EQ(record.find(QStringLiteral("lost.mp3")), nullptr);
    EXPECT_EQ(record.find(QStringLiteral("old.mp3"))->stored, 950);
    EXPECT_EQ(record.find(QStringLiteral("old.mp3"))->size, 5000);
    EXPECT_EQ(record.find(QStringLiteral("kept.mp3"))->size, 4000); // the old copy's entry stays
}

#endif
