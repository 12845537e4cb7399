// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl sync against the real virtual player, each command in its own process, each test with
// its own player and its own user data folder (where the sync record lives).
#include "SyncCli.h"

TEST_F(SyncEndToEnd, FirstSyncPutsTheAlbumTreeInAlbumOrderAndTheSecondSendsNothing)
{
    twoAlbums();
    SyncFixtures::put(music, QStringLiteral("Apple/cover.jpg"), "jpeg");
#ifndef ZVD_HAVE_CONVERSION
    SyncFixtures::put(music, QStringLiteral("Apple/f.flac"), "fLaC");
#endif
    const Ran first = sync();
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_EQ(planOf(first, QStringLiteral("Zebra/c.mp3")), QStringLiteral("send\tnew"));
#ifndef ZVD_HAVE_CONVERSION
    // A build with the converter sends it (the conversion tests).
    EXPECT_EQ(planOf(first, QStringLiteral("Apple/f.flac")), QStringLiteral("skip\tneeds converting"));
#endif
    EXPECT_EQ(planOf(first, QStringLiteral("Apple/cover.jpg")), QStringLiteral("skip\tnot a music file"));
    // Sent in album order, so the entries arrive in place and need no move.
    EXPECT_EQ(names(), (QStringList{QStringLiteral("c.mp3"), QStringLiteral("b.mp3"), QStringLiteral("a.mp3"),
                                    QStringLiteral("e.mp3"), QStringLiteral("d.mp3")}));
    EXPECT_EQ(movesOf(first), 0);
    // Each arrived whole: its listed size is the file's size.
    EXPECT_TRUE(player().contains(
        QStringLiteral("c.mp3 %1").arg(QFileInfo(music + QStringLiteral("/Zebra/c.mp3")).size())));

    const QStringList before = player();
    const Ran second = sync({QStringLiteral("--mirror")});
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    for (const QString& line : second.lines())
        EXPECT_FALSE(line.startsWith(QStringLiteral("send")) || line.startsWith(QStringLiteral("delete")))
            << line.toStdString();
    EXPECT_TRUE(second.err.contains(QStringLiteral("0 sent, 0 deleted, 0 moves")));
    EXPECT_EQ(player(), before);
}

TEST_F(SyncEndToEnd, ChangedFileIsResentAndRemovedFileIsDeletedOnlyWithMirror)
{
    twoAlbums();
    ASSERT_EQ(sync().status, 0);
    // A hand-sent song of its own, and one that shares a name nobody synced.
    const QString loose = SyncFixtures::put(home.filePath(QStringLiteral("loose")),
                                            QStringLiteral("byhand.mp3"), SyncFixtures::taggedMp3({}, 3));
    ASSERT_EQ(zvdctl({QStringLiteral("send"), loose}).status, 0);

    song(QStringLiteral("Zebra/b.mp3"),
         {QStringLiteral("Artist"), QString(), QStringLiteral("Alpha"), QString(), QStringLiteral("2"), {}},
         5);
    ASSERT_TRUE(QFile::remove(music + QStringLiteral("/Apple/d.mp3")));
    const Ran plain = sync();
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_EQ(planOf(plain, QStringLiteral("Zebra/b.mp3")), QStringLiteral("send\tchanged"));
    EXPECT_EQ(planOf(plain, QStringLiteral("Apple/d.mp3")),
              QStringLiteral("keep\tgone from the folder (a mirror sync deletes it)"));
    EXPECT_EQ(planOf(plain, QStringLiteral("byhand.mp3")), QStringLiteral("keep\tnot sent by a sync"));
    EXPECT_TRUE(names().contains(QStringLiteral("d.mp3")));
    EXPECT_TRUE(player().contains(
        QStringLiteral("b.mp3 %1").arg(QFileInfo(music + QStringLiteral("/Zebra/b.mp3")).size())));
    // The replacement went to the end; the order puts it back between c and a.
    EXPECT_EQ(names().mid(0, 3),
              (QStringList{QStringLiteral("c.mp3"), QStringLiteral("b.mp3"), QStringLiteral("a.mp3")}));

    // Deleting needs an answer; without one nothing changes.
    const Ran unanswered = sync({QStringLiteral("--mirror")});
    EXPECT_EQ(unanswered.status, 2);
    EXPECT_TRUE(names().contains(QStringLiteral("d.mp3")));

    const Ran mirror = sync({QStringLiteral("--mirror"), QStringLiteral("--yes")});
    ASSERT_EQ(mirror.status, 0) << mirror.err.toStdString();
    EXPECT_EQ(planOf(mirror, QStringLiteral("Apple/d.mp3")), QStringLiteral("delete\tgone from the folder"));
    EXPECT_EQ(planOf(mirror, QStringLiteral("byhand.mp3")), QStringLiteral("keep\tnot sent by a sync"));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("c.mp3"), QStringLiteral("b.mp3"), QStringLiteral("a.mp3"),
                                    QStringLiteral("e.mp3"), QStringLiteral("byhand.mp3")}));
}

TEST_F(SyncEndToEnd, FullPlayerRefusesBeforeAnythingChangesAndSendsWhatFitsWhenAsked)
{
    // 4 units of 16 KiB: room for two of these three songs of 60 frames (25 KB and its block).
    ASSERT_EQ(zvdsim({QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("65536")}).status,
              0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}).status, 0);
    song(QStringLiteral("1.mp3"), {}, 60);
    song(QStringLiteral("2.mp3"), {}, 60);
    song(QStringLiteral("3.mp3"), {}, 60);
    const QString record = home.filePath(QStringLiteral("data/ZVD/sync"));

    const Ran refused = sync({QStringLiteral("--no")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("not everything fits: 2 of 3 files")))
        << refused.err.toStdString();
    EXPECT_EQ(planOf(refused, QStringLiteral("3.mp3")), QStringLiteral("skip\tdoes not fit on the player"));
    EXPECT_TRUE(names().isEmpty());
    EXPECT_FALSE(QDir(record).exists() && !QDir(record).isEmpty());
    EXPECT_EQ(sync().status, 2); // nobody to answer

    const Ran fitting = sync({QStringLiteral("--yes")});
    EXPECT_EQ(fitting.status, 1); // the player does not hold the whole folder
    EXPECT_EQ(names(), (QStringList{QStringLiteral("1.mp3"), QStringLiteral("2.mp3")}));
}

TEST_F(SyncEndToEnd, FailureMidwayKeepsEveryEntryWholeAndTheNextSyncFinishes)
{
    twoAlbums();
    ASSERT_EQ(zvdsim({QStringLiteral("fail"), QStringLiteral("Download"), QStringLiteral("3")}).status, 0);
    const Ran failed = sync();
    EXPECT_EQ(failed.status, 1);
    // Sent in album order: c, b arrived; a failed; e, d were not tried.
    EXPECT_EQ(failed.err.count(QStringLiteral("not sent: a.mp3")), 1) << failed.err.toStdString();
    EXPECT_TRUE(failed.err.contains(QStringLiteral("2 sent, 0 deleted")));
    EXPECT_TRUE(failed.err.contains(QStringLiteral("not sent: d.mp3")));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("c.mp3"), QStringLiteral("b.mp3")}));

    // The record lists only what arrived: those two are kept, the rest is sent.
    const Ran second = sync();
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_EQ(planOf(second, QStringLiteral("Zebra/b.mp3")), QStringLiteral("keep\tunchanged"));
    EXPECT_EQ(planOf(second, QStringLiteral("Zebra/a.mp3")), QStringLiteral("send\tnew"));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("c.mp3"), QStringLiteral("b.mp3"), QStringLiteral("a.mp3"),
                                    QStringLiteral("e.mp3"), QStringLiteral("d.mp3")}));
}

TEST_F(SyncEndToEnd, FailedReplacementKeepsTheOldCopyAndAnUnwritableRecordStopsBeforeAnyChange)
{
    twoAlbums();
    ASSERT_EQ(sync().status, 0);
    const QStringList before = player();
    song(QStringLiteral("Zebra/b.mp3"),
         {QStringLiteral("Artist"), QString(), QStringLiteral("Alpha"), QString(), QStringLiteral("2"), {}},
         7);
    ASSERT_EQ(zvdsim({QStringLiteral("fail"), QStringLiteral("Download")}).status, 0);
    const Ran failed = sync();
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(failed.err.contains(QStringLiteral("not sent: b.mp3"))) << failed.err.toStdString();
    EXPECT_EQ(player(), before); // the old copy is back under its name, whole
    EXPECT_EQ(planOf(sync({QStringLiteral("--dry-run")}), QStringLiteral("Zebra/b.mp3")),
              QStringLiteral("send\tchanged"));

    // No sync record can be written (its folder would lie under a file): nothing changes.
    song(QStringLiteral("Zebra/new.mp3"), {});
    SyncFixtures::put(home.path(), QStringLiteral("blocked"), "file");
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("blocked")));
    const Ran unrecorded = sync();
    EXPECT_EQ(unrecorded.status, 1);
    EXPECT_TRUE(unrecorded.err.contains(QStringLiteral("sync record cannot be written")))
        << unrecorded.err.toStdString();
    EXPECT_EQ(player(), before);
}

TEST_F(SyncEndToEnd, ReorderingUsesNoMoreMovesThanTheInvertedPairs)
{
    twoAlbums();
    // Sent unordered: folder order puts Apple (Beta: e, d sorted by name: d, e) first.
    ASSERT_EQ(sync({QStringLiteral("--order"), QStringLiteral("none")}).status, 0);
    ASSERT_EQ(names(), (QStringList{QStringLiteral("d.mp3"), QStringLiteral("e.mp3"), QStringLiteral("a.mp3"),
                                    QStringLiteral("b.mp3"), QStringLiteral("c.mp3")}));
    // A recording among them stays where it is.
    ASSERT_EQ(zvdsim({QStringLiteral("record"), QStringLiteral("memo")}).status, 0);

    // Wanted: c b a e d. Inverted pairs of d e a b c against it: d before e (1), d and e before
    // each of a, b, c (6), a before b and c (2), b before c (1) = 10.
    const Ran ordered = sync();
    ASSERT_EQ(ordered.status, 0) << ordered.err.toStdString();
    EXPECT_EQ(movesOf(ordered), 10);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("c.mp3"), QStringLiteral("b.mp3"), QStringLiteral("a.mp3"),
                                    QStringLiteral("e.mp3"), QStringLiteral("d.mp3")}));
    // By name: c b a e d has four inverted pairs (c-b, c-a, b-a, e-d).
    const Ran byName = sync({QStringLiteral("--order"), QStringLiteral("name")});
    EXPECT_EQ(movesOf(byName), 4);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3"),
                                    QStringLiteral("d.mp3"), QStringLiteral("e.mp3")}));
    EXPECT_EQ(
        zvdctl({QStringLiteral("ls"), QStringLiteral("--view"), QStringLiteral("record")}).lines().size(), 1);
}

TEST_F(SyncEndToEnd, DryRunAndBadArgumentsChangeNothing)
{
    twoAlbums();
    const Ran dry = sync({QStringLiteral("--dry-run"), QStringLiteral("--mirror")});
    EXPECT_EQ(dry.status, 0);
    EXPECT_EQ(dry.lines().size(), 5);
    EXPECT_TRUE(names().isEmpty());
    EXPECT_EQ(
        zvdctl({QStringLiteral("sync"), QStringLiteral("--order"), QStringLiteral("year"), music}).status, 2);
    EXPECT_EQ(zvdctl({QStringLiteral("sync"), home.filePath(QStringLiteral("nothere"))}).status, 1);
    ASSERT_EQ(zvdsim({QStringLiteral("detach")}).status, 0);
    EXPECT_EQ(sync().status, 3);
}
