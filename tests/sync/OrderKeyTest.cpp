// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/OrderKey.h"

#include "AudioFixtures.h"
#include "SyncFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using SyncFixtures::Tags;

TEST(OrderKey, TagsGiveAlbumArtistAlbumDiscAndTrack)
{
    QTemporaryDir dir;
    const QString path =
        SyncFixtures::put(dir.path(), QStringLiteral("x/9 file.mp3"),
                          SyncFixtures::taggedMp3(Tags{QStringLiteral("Various"), QStringLiteral("Singer"),
                                                       QStringLiteral("Hits"), QStringLiteral("2/3"),
                                                       QStringLiteral("07/12"), QStringLiteral("Song")}));
    const OrderKey key = OrderKeys::read(path, QStringLiteral("x/9 file.mp3"));
    EXPECT_EQ(key, (OrderKey{QStringLiteral("Various"), QStringLiteral("Hits"), 2, 7}));

    // Without an album artist the track's artist stands in.
    const QString second = SyncFixtures::put(
        dir.path(), QStringLiteral("b.mp3"),
        SyncFixtures::taggedMp3(Tags{QString(), QStringLiteral("Singer"), QStringLiteral("Hits"), QString(),
                                     QStringLiteral("3"), QString()}));
    EXPECT_EQ(OrderKeys::read(second, QStringLiteral("b.mp3")).albumArtist, QStringLiteral("Singer"));
}

TEST(OrderKey, PathStandsInForMissingOrUnreadableTags)
{
    QTemporaryDir dir;
    // No tag at all: the folder is the album, the leading digits the track.
    const QString bare = SyncFixtures::put(dir.path(), QStringLiteral("Band/Album/04 - Song.mp3"),
                                           AudioFixtures::audioFrame() + AudioFixtures::audioFrame());
    EXPECT_EQ(OrderKeys::read(bare, QStringLiteral("Band/Album/04 - Song.mp3")),
              (OrderKey{QString(), QStringLiteral("Band/Album"), 0, 4}));

    // An ID3v1 tag alone gives artist and track.
    const QString v1 =
        SyncFixtures::put(dir.path(), QStringLiteral("v1.mp3"),
                          AudioFixtures::audioFrame() + AudioFixtures::id3v1("T", "Old Band", 1, 5));
    const OrderKey fromV1 = OrderKeys::read(v1, QStringLiteral("v1.mp3"));
    EXPECT_EQ(fromV1.albumArtist, QStringLiteral("Old Band"));
    EXPECT_EQ(fromV1.track, 5);

    // A tag whose size runs far past the file, and a file that is not there, still give a key.
    const QString broken =
        SyncFixtures::put(dir.path(), QStringLiteral("Alb/2 x.mp3"),
                          AudioFixtures::id3v2(3, 0x7f7f7f7f, QByteArray("TALB\xff\xff", 6)));
    EXPECT_EQ(OrderKeys::read(broken, QStringLiteral("Alb/2 x.mp3")).track, 2);
    EXPECT_EQ(OrderKeys::read(dir.filePath(QStringLiteral("gone.mp3")), QStringLiteral("A/gone.mp3")).album,
              QStringLiteral("A"));
    // A WMA file is not read as MP3.
    EXPECT_EQ(OrderKeys::read(dir.filePath(QStringLiteral("w.wma")), QStringLiteral("12 w.wma")).track, 12);
}

TEST(OrderKey, OrderIsArtistAlbumDiscTrackThenName)
{
    const OrderKey a{QStringLiteral("abba"), QStringLiteral("Gold"), 1, 9};
    const OrderKey b{QStringLiteral("ABBA"), QStringLiteral("gold"), 2, 1};
    EXPECT_TRUE(OrderKeys::before(a, QStringLiteral("z"), b, QStringLiteral("a"))); // disc first
    const OrderKey c{QStringLiteral("Abba"), QStringLiteral("Gold"), 1, 10};
    EXPECT_TRUE(OrderKeys::before(a, QStringLiteral("z"), c, QStringLiteral("a"))); // 9 before 10
    EXPECT_TRUE(OrderKeys::before(a, QStringLiteral("b.mp3"), a, QStringLiteral("C.mp3")));
    EXPECT_FALSE(OrderKeys::before(a, QStringLiteral("x"), a, QStringLiteral("x")));
    const OrderKey other{QStringLiteral("Beatles"), QStringLiteral("A"), 0, 0};
    EXPECT_TRUE(OrderKeys::before(c, QString(), other, QString()));

    EXPECT_EQ(OrderKeys::leadingNumber(QStringLiteral(" 03/12")), 3);
    EXPECT_EQ(OrderKeys::leadingNumber(QStringLiteral("x3")), 0);
    EXPECT_EQ(OrderKeys::leadingNumber(QStringLiteral("99999999999999999999")), 999999);
}
