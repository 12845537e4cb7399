// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/PlayerFileOperations.h"
#include "DeviceTestSupport.h"

#include <cstring>

using namespace PlayerFileOperations;

namespace
{

std::vector<int64_t> deleteIndexes(const FakeDevice& fake)
{
    std::vector<int64_t> indexes;
    for (const FakeCall& call : fake.callsOf("Delete"))
        indexes.push_back(call.numbers[2]);
    return indexes;
}

std::vector<std::pair<int64_t, int64_t>> replacePairs(const FakeDevice& fake)
{
    std::vector<std::pair<int64_t, int64_t>> pairs;
    for (const FakeCall& call : fake.callsOf("Replace"))
        pairs.emplace_back(call.numbers[2], call.numbers[3]);
    return pairs;
}

} // namespace

class OperationsTest : public PlayerFixture
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 8; ++i)
            fake.entries.push_back(
                {"F" + std::to_string(i), "TXT", uint32_t(100 + i), "file" + std::to_string(i) + ".txt"});
        connect(PlayerView::Hdd);
    }
};

TEST_F(OperationsTest, DeletingIndexesTwoFiveSixCallsTwoFourFour)
{
    EXPECT_EQ(DeleteSelectedPlayerFiles(session, prompt, {6, 2, 5}), Outcome::Done);
    EXPECT_EQ(deleteIndexes(fake), (std::vector<int64_t>{2, 4, 4}));
    EXPECT_EQ(fake.callsOf("Delete")[1].text, "file5.txt");
    EXPECT_EQ(session.list().count(), 5);
    EXPECT_EQ(session.list().row(2).name, QStringLiteral("file3.txt"));
    EXPECT_EQ(prompt.questions, QStringList{QStringLiteral("Delete?\r\n3 files")});
    EXPECT_EQ(prompt.titles, QStringList{QStringLiteral("Box Title")});
}

TEST_F(OperationsTest, DeletingOneFileNamesItInTheQuestion)
{
    DeleteSelectedPlayerFiles(session, prompt, {1});
    EXPECT_EQ(prompt.questions, QStringList{QStringLiteral("Delete?\r\nfile1.txt")});
}

TEST_F(OperationsTest, AnsweringNoDeletesNothingButRebuildsTheList)
{
    prompt.answer = false;
    EXPECT_EQ(DeleteSelectedPlayerFiles(session, prompt, {1, 2}), Outcome::Declined);
    EXPECT_TRUE(fake.callsOf("Delete").empty());
    EXPECT_EQ(fake.callsOf("Refresh").size(), 2u);
    EXPECT_EQ(session.list().count(), 8);
}

TEST_F(OperationsTest, FailedDeleteStopsAndNamesTheFileThatWasNotDeleted)
{
    fake.failDeleteAt = 1;
    EXPECT_EQ(DeleteSelectedPlayerFiles(session, prompt, {0, 3, 4}), Outcome::Failed);
    EXPECT_EQ(deleteIndexes(fake), (std::vector<int64_t>{0, 2}));
    ASSERT_EQ(prompt.messages.size(), 1);
    // The failed name, then every name not tried after it: all that are still on the player.
    EXPECT_TRUE(prompt.messages[0].contains(QStringLiteral("\r\nfile3.txt\r\n")));
    EXPECT_TRUE(prompt.messages[0].endsWith(QStringLiteral("\r\nfile4.txt")))
        << prompt.messages[0].toStdString();
    EXPECT_TRUE(prompt.messages[0].startsWith(texts.delFail));
    EXPECT_FALSE(texts.delFail.isEmpty());
    EXPECT_EQ(session.list().count(), 7) << "the list shows what is left";
}

TEST_F(PlayerFixture, DeleteHandlesMoreThanAThousandFiles)
{
    for (int i = 0; i < 1200; ++i)
        fake.entries.push_back({"F", "TXT", 1, "f" + std::to_string(i)});
    connect(PlayerView::Hdd);
    std::vector<int> all(1200);
    for (int i = 0; i < 1200; ++i)
        all[std::size_t(i)] = i;
    EXPECT_EQ(DeleteSelectedPlayerFiles(session, prompt, all), Outcome::Done);
    EXPECT_TRUE(fake.entries.empty());
    EXPECT_EQ(prompt.questions, QStringList{QStringLiteral("Delete?\r\n1200 files")});
}

TEST_F(PlayerFixture, OperationsWithoutConnectionDoNothingAndAskNothing)
{
    fake.connection = 0;
    session.tick();
    EXPECT_EQ(DeleteSelectedPlayerFiles(session, prompt, {0}), Outcome::NotConnected);
    EXPECT_EQ(FormatPlayer(session, prompt), Outcome::NotConnected);
    EXPECT_EQ(RenamePlayerFile(session, 0, QStringLiteral("x")), Outcome::NotConnected);
    EXPECT_EQ(MovePlayerFile(session, 0, 2), Outcome::NotConnected);
    EXPECT_TRUE(prompt.questions.isEmpty());
    EXPECT_EQ(fake.callNames(), QStringList{QStringLiteral("TestConnection")});
}

TEST(RenamedName, KeepsARealExtensionOnly)
{
    EXPECT_EQ(RenamedName(QStringLiteral("Song.mp3"), QStringLiteral("Tune")), QStringLiteral("Tune.mp3"));
    EXPECT_EQ(RenamedName(QStringLiteral("Song.mp3"), QStringLiteral("Tune.MP3")),
              QStringLiteral("Tune.MP3"));
    EXPECT_EQ(RenamedName(QStringLiteral("README"), QStringLiteral("X")), QStringLiteral("X"));
    EXPECT_EQ(RenamedName(QStringLiteral("a.b"), QStringLiteral("c")), QStringLiteral("c"));
    EXPECT_EQ(RenamedName(QStringLiteral("Song.mp3"), QStringLiteral("Tune.wav")),
              QStringLiteral("Tune.wav.mp3"));
}

TEST_F(OperationsTest, RenameSendsTheEntrysFreshRecordAndTheNewName)
{
    EXPECT_EQ(RenamePlayerFile(session, 3, QStringLiteral("Renamed")), Outcome::Done);
    const auto refreshes = fake.callsOf("Refresh");
    ASSERT_GE(refreshes.size(), 1u);
    EXPECT_EQ(refreshes[0].numbers[2], 4) << "records up to and including the entry";
    const auto renames = fake.callsOf("Rename");
    ASSERT_EQ(renames.size(), 1u);
    EXPECT_EQ(renames[0].numbers[2], 3);
    EXPECT_EQ(renames[0].text, "Renamed.txt");
    ASSERT_EQ(fake.renamedRecord.size(), 300u);
    EXPECT_EQ(std::memcmp(fake.renamedRecord.data() + 36, "file3.txt", 10), 0);
    EXPECT_EQ(fake.renamedRecord[32], 103);
}

TEST_F(OperationsTest, RenameWithoutItsRecordIsNotSent)
{
    fake.refreshSucceeds = false;
    EXPECT_EQ(RenamePlayerFile(session, 3, QStringLiteral("Renamed")), Outcome::Failed);
    EXPECT_TRUE(fake.callsOf("Rename").empty());
}

TEST_F(OperationsTest, RenameToNothingChangesNothing)
{
    EXPECT_EQ(RenamePlayerFile(session, 3, QString()), Outcome::Declined);
    EXPECT_TRUE(fake.calls.empty());
}

TEST(ReorderSwaps, MoveTheFileJustBeforeItsTarget)
{
    using Pairs = std::vector<std::pair<int32_t, int32_t>>;
    EXPECT_EQ(ReorderSwaps(1, 4), (Pairs{{1, 2}, {2, 3}}));
    EXPECT_EQ(ReorderSwaps(1, 2), Pairs{});
    EXPECT_EQ(ReorderSwaps(4, 1), (Pairs{{4, 3}, {3, 2}, {2, 1}}));
    EXPECT_EQ(ReorderSwaps(3, 3), Pairs{});
}

TEST_F(OperationsTest, MovingDownLandsBeforeTheTarget)
{
    EXPECT_EQ(MovePlayerFile(session, 1, 4), Outcome::Done);
    EXPECT_EQ(replacePairs(fake), (std::vector<std::pair<int64_t, int64_t>>{{1, 2}, {2, 3}}));
    EXPECT_EQ(fake.callsOf("Refresh").size(), 2u) << "the list is rebuilt";
}

TEST_F(OperationsTest, FailedSwapStopsTheMove)
{
    fake.failReplaceAt = 0;
    EXPECT_EQ(MovePlayerFile(session, 4, 1), Outcome::Failed);
    EXPECT_EQ(fake.callsOf("Replace").size(), 1u);
}

TEST_F(OperationsTest, FormatAsksFirstAndOnlyYesFormats)
{
    prompt.answer = false;
    EXPECT_EQ(FormatPlayer(session, prompt), Outcome::Declined);
    EXPECT_TRUE(fake.callsOf("Format").empty());
    prompt.answer = true;
    EXPECT_EQ(FormatPlayer(session, prompt), Outcome::Done);
    EXPECT_EQ(prompt.questions, (QStringList{QStringLiteral("Format?"), QStringLiteral("Format?")}));
    EXPECT_EQ(fake.callsOf("Format").size(), 1u);
    EXPECT_EQ(session.list().count(), 0);
}
