// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "DeviceTestSupport.h"
#include "device/MediumCapacity.h"
#include "device/PlayerFile.h"

#include <cstring>

TEST_F(PlayerFixture, EmptyPlayerIsAskedTwiceWithRoomForTwoAndListsNothingInAnyView)
{
    connect();
    for (PlayerView view : {PlayerView::Audio, PlayerView::Record, PlayerView::Hdd}) {
        fake.calls.clear();
        session.setView(view);
        EXPECT_TRUE(session.RefreshPlayerList());
        const auto refreshes = fake.callsOf("Refresh");
        ASSERT_EQ(refreshes.size(), 2u);
        EXPECT_EQ(refreshes[0].numbers[2], 0) << "the first call only learns the total";
        EXPECT_EQ(refreshes[1].numbers[2], 2);
        EXPECT_EQ(session.list().count(), 0);
    }
}

TEST_F(PlayerFixture, ListingAsksForExactlyTheTotalAndKeepsThePlayersOrder)
{
    addEntries({{"B", "TXT", 1, "b.txt"}, {"A", "TXT", 2, "a.txt"}, {"C", "TXT", 3, "c.txt"}});
    connect(PlayerView::Hdd);
    session.RefreshPlayerList();
    EXPECT_EQ(fake.callsOf("Refresh")[1].numbers[2], 3);
    ASSERT_EQ(session.list().count(), 3);
    EXPECT_EQ(session.list().row(0).name, QStringLiteral("b.txt"));
    EXPECT_EQ(session.list().row(2).name, QStringLiteral("c.txt"));
}

TEST_F(PlayerFixture, ViewsFilterByExactExtensionAndIndexesKeepTheirPlaceInTheWholeList)
{
    addEntries({{"VOICE1", "ZVD", 10, ""},
                {"SONG", "MP3", 1000000, "Song.mp3"},
                {"LOWER", "mp3", 5000, "lower.mp3"},
                {"VOICE2", "ZVD", 20, ""},
                {"VOICE3", "ZVD", 30, ""},
                {"TALK", "WMA", 2000, "Talk.wma"},
                {"NOTE", "TXT", 40, "note.txt"}});
    connect(PlayerView::Record);
    EXPECT_EQ(listedIndexes(), (std::vector<int32_t>{0, 3, 4}));
    EXPECT_EQ(session.list().row(0).name, QStringLiteral("VOICE1.ZVD"))
        << "empty long name shows the 8.3 name";

    session.setView(PlayerView::Audio);
    session.RefreshPlayerList();
    EXPECT_EQ(listedIndexes(), (std::vector<int32_t>{1, 5}));
    EXPECT_EQ(session.list().row(0).size, 998454);
    EXPECT_EQ(session.list().row(0).sizeText, QStringLiteral("998454"));

    session.setView(PlayerView::Hdd);
    session.RefreshPlayerList();
    EXPECT_EQ(listedIndexes(), (std::vector<int32_t>{2, 6})) << "lower-case mp3 is not music";
    EXPECT_EQ(session.list().row(0).size, 5000) << "no title block is taken off a non-music entry";
}

TEST_F(PlayerFixture, SizeTextFollowsTheWindowsFormatter)
{
    addEntries({{"NOTE", "TXT", 2048, ""}});
    connect(PlayerView::Hdd);
    session.list().setSizeFormatter([](qint64 bytes) { return QStringLiteral("%1 KB").arg(bytes / 1024); });
    EXPECT_EQ(session.list().row(0).sizeText, QStringLiteral("2 KB"));
    session.RefreshPlayerList();
    EXPECT_EQ(session.list().row(0).sizeText, QStringLiteral("2 KB"));
}

TEST_F(PlayerFixture, FailedRefreshLeavesListEmptyButCapacityShown)
{
    addEntries({{"NOTE", "TXT", 40, ""}});
    connect(PlayerView::Hdd);
    fake.refreshSucceeds = false;
    fake.setMedium(7800, 7800, 512, 8, 4);
    EXPECT_FALSE(session.RefreshPlayerList());
    EXPECT_EQ(session.list().count(), 0);
    EXPECT_FALSE(session.listRead()) << "an unread list is not an empty player";
    EXPECT_TRUE(session.memoryRead());
    EXPECT_TRUE(session.capacityText().startsWith(QStringLiteral("Memory: 0 MBytes / 122 MBytes")))
        << "all units in use";
    EXPECT_TRUE(session.capacityText().contains(QStringLiteral("entries could not be read")));
}

TEST_F(PlayerFixture, UnusableMediumIsNotListed)
{
    addEntries({{"NOTE", "TXT", 40, ""}});
    std::memset(fake.rawMedium, 0, sizeof fake.rawMedium);
    connect(PlayerView::Hdd);
    EXPECT_EQ(session.capacityText(), QStringLiteral("Memory: 0 MBytes / 0 MBytes"));
    session.RefreshPlayerList();
    EXPECT_TRUE(fake.callsOf("Refresh").empty());
    EXPECT_EQ(session.list().count(), 0);
}

TEST_F(PlayerFixture, CountBeyondTheGivenRoomIsNotTrusted)
{
    addEntries({{"A", "TXT", 1, ""}, {"B", "TXT", 2, ""}});
    fake.extraCount = 1000;
    connect(PlayerView::Hdd);
    EXPECT_EQ(session.list().count(), 2);
}

TEST(PlayerEntryDecoding, FieldsEndAtZeroOrTheirLimit)
{
    PlayerEntry entry{};
    std::memcpy(entry.bytes, "ABCDEFGHIJ", 10); // runs into byte 8 and the extension
    std::memcpy(entry.bytes + 9, "EXTENSI\xc9", 8);
    entry.bytes[32] = 0x40;
    entry.bytes[33] = 0x42;
    entry.bytes[34] = 0x0f;
    std::memset(entry.bytes + 36, 'x', 260);
    entry.bytes[296] = 'y';
    const PlayerFile file = decodePlayerEntry(entry, 9);
    EXPECT_EQ(file.shortName, QStringLiteral("ABCDEFGH"));
    EXPECT_EQ(file.extension, QStringLiteral("EXTENSI\u00c9")) << "bytes are the ANSI code page";
    EXPECT_EQ(file.storedSize, 1000000);
    EXPECT_EQ(file.longName, QString(260, QLatin1Char('x')));
    EXPECT_EQ(file.index, 9);
}

TEST(PlayerEntryDecoding, SizesFrom2GiBAreNotNegative)
{
    PlayerEntry entry{};
    std::memcpy(entry.bytes + 9, "DAT", 3);
    entry.bytes[35] = 0xc0; // 3 GiB
    EXPECT_EQ(decodePlayerEntry(entry, 0).storedSize, qint64(3) << 30);
}

TEST(PlayerEntryDecoding, MusicSmallerThanTheTitleBlockListsAsZero)
{
    PlayerFile file;
    file.extension = QStringLiteral("MP3");
    file.storedSize = 100;
    EXPECT_EQ(file.listedSize(), 0);
}

TEST(MediumDecoding, WordsAreBigEndianAndLandInTheDecodedHalf)
{
    MediumInfo info{};
    info.bytes[7] = 0x1e; // unit count 7800
    info.bytes[8] = 0x78;
    info.bytes[15] = 0xab; // a single byte field
    info.bytes[25] = 0x02; // unit size 512
    info.bytes[27] = 8;
    info.bytes[28] = 4;
    info.bytes[31] = 0xcd;
    const MediumFields fields = decodeMediumInfo(info);
    EXPECT_EQ(fields.unitCount, 7800);
    EXPECT_EQ(fields.unitSize, 512);
    uint16_t stored;
    std::memcpy(&stored, info.bytes + 34, 2);
    EXPECT_EQ(stored, 7800);
    EXPECT_EQ(info.bytes[42], 0xab);
    EXPECT_EQ(info.bytes[60], 0xcd);
    EXPECT_EQ(info.bytes[61], 0) << "the last byte is not written";
}

TEST(MediumDecoding, LargeMediaKeepTheirTrueSize)
{
    MediumFields fields{60000, 1000, 32768, 8, 4}; // raw words above 32767, units of 1 MiB
    const MediumCapacity capacity = capacityOf(fields);
    EXPECT_EQ(capacity.totalBytes, qint64(60000) * 32768 * 32);
    EXPECT_EQ(capacity.freeBytes, qint64(59000) * 32768 * 32);
    EXPECT_EQ(capacityText(QStringLiteral("M"), capacity), QStringLiteral("M: 59000 MBytes / 60000 MBytes"));
}

TEST(MediumDecoding, MemoryLabelIsShownAsItStandsEvenWithPercentSigns)
{
    const MediumCapacity capacity{qint64(122) << 20, qint64(119) << 20};
    EXPECT_EQ(capacityText(QStringLiteral("Mem %1 %2"), capacity),
              QStringLiteral("Mem %1 %2: 119 MBytes / 122 MBytes"));
    EXPECT_EQ(capacityText(QStringLiteral("100%"), capacity),
              QStringLiteral("100%: 119 MBytes / 122 MBytes"));
}

TEST(MediumDecoding, MoreUnitsInUseThanExistLeavesNoFreeSpace)
{
    EXPECT_EQ(capacityOf(MediumFields{10, 20, 512, 1, 1}).freeBytes, 0);
}

TEST(MediumDecoding, HalfMegabytesRoundToTheEvenNeighbour)
{
    constexpr qint64 MiB = 1024 * 1024;
    EXPECT_EQ(roundedMegabytes(5 * MiB / 2), 2);
    EXPECT_EQ(roundedMegabytes(7 * MiB / 2), 4);
    EXPECT_EQ(roundedMegabytes(MiB / 2), 0);
    EXPECT_EQ(roundedMegabytes(5 * MiB / 2 + 1), 3);
    EXPECT_EQ(roundedMegabytes(124518400), 119); // 118.75
    EXPECT_EQ(roundedMegabytes(127795200), 122); // 121.875
}
