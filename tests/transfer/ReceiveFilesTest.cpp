// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/ReceiveFiles.h"
#include "TransferFake.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

class ReceiveFiles : public TransferFixture
{
protected:
    ReceiveRequest request(std::vector<int> rows, mFileAPI::ViewTab tab = mFileAPI::ViewTab::Record)
    {
        return ReceiveRequest{session, prompt, local, std::move(rows), localDir.path(), tab, &observer};
    }

    QByteArray read(const QString& name) const
    {
        QFile file(localDir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList folderEntries() const
    {
        return QDir(localDir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    RecordingObserver observer;
};

TEST_F(ReceiveFiles, NothingSelectedStillRefillsTheLocalList)
{
    connect(PlayerView::Record);
    makeLocalFile(QStringLiteral("new.zvd"), "x");
    ASSERT_EQ(local.count(), 0);
    auto r = request({});
    EXPECT_EQ(ReceiveSelectedFiles(r).status, TransferOutcome::Status::Done);
    EXPECT_TRUE(prompt.questions.isEmpty());
    EXPECT_TRUE(uploads.empty());
    EXPECT_EQ(local.count(), 1);
}

TEST_F(ReceiveFiles, FetchesAtTheListedSizeIntoTheFolder)
{
    addEntries({{"REC1", "ZVD", 6, "rec1.zvd"}, {"SONG", "MP3", 20000001, "song.mp3"}});
    playerContent.insert(QStringLiteral("rec1.zvd"), "voice!");
    connect(PlayerView::All);
    auto r = request({0, 1}, mFileAPI::ViewTab::Hdd);
    playerContent.insert(QStringLiteral("song.mp3"), QByteArray(20000001, 's'));
    const TransferOutcome outcome = ReceiveSelectedFiles(r);
    EXPECT_EQ(outcome.status, TransferOutcome::Status::Done);
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[0].index, 0);
    EXPECT_EQ(uploads[0].name, QStringLiteral("rec1.zvd"));
    EXPECT_EQ(uploads[0].count, 6);
    // Music entries come back without their title block, at the exact byte count.
    EXPECT_EQ(uploads[1].count, 20000001 - 1546);
    EXPECT_EQ(read(QStringLiteral("rec1.zvd")), QByteArray("voice!"));
    EXPECT_EQ(QFileInfo(localDir.filePath(QStringLiteral("song.mp3"))).size(), 20000001 - 1546);
    EXPECT_EQ(folderEntries(), QStringList({"rec1.zvd", "song.mp3"}));
}

TEST_F(ReceiveFiles, SameNameInAnotherCaseIsAskedAndReplacedOnlyOnSuccess)
{
    addEntries({{"REC001", "ZVD", 5, "rec001.zvd"}});
    playerContent.insert(QStringLiteral("rec001.zvd"), "fresh");
    connect(PlayerView::Record);
    makeLocalFile(QStringLiteral("REC001.ZVD"), "old");
    scanLocal(mFileAPI::ViewTab::Record);
    auto r = request({0});
    ReceiveSelectedFiles(r);
    EXPECT_EQ(prompt.questions, QStringList({"Same name.\r\nReplace?"}));
    EXPECT_EQ(folderEntries(), QStringList({"rec001.zvd"}));
    EXPECT_EQ(read(QStringLiteral("rec001.zvd")), QByteArray("fresh"));
    ASSERT_EQ(local.count(), 1);
    EXPECT_EQ(local.row(0).name, QStringLiteral("rec001.zvd"));
}

TEST_F(ReceiveFiles, AnsweringNoLeavesTheLocalFileAndSkipsTheEntry)
{
    addEntries({{"A", "ZVD", 3, "a.zvd"}, {"B", "ZVD", 3, "b.zvd"}});
    playerContent.insert(QStringLiteral("b.zvd"), "bbb");
    connect(PlayerView::Record);
    makeLocalFile(QStringLiteral("a.zvd"), "mine");
    scanLocal(mFileAPI::ViewTab::Record);
    prompt.answer = false;
    auto r = request({0, 1});
    ReceiveSelectedFiles(r);
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].name, QStringLiteral("b.zvd"));
    EXPECT_EQ(read(QStringLiteral("a.zvd")), QByteArray("mine"));
}

TEST_F(ReceiveFiles, FileNotShownInTheListIsStillNotOverwrittenUnasked)
{
    addEntries({{"NOTES", "TXT", 3, ".notes"}});
    playerContent.insert(QStringLiteral(".notes"), "new");
    connect(PlayerView::Hdd);
    makeLocalFile(QStringLiteral(".notes"), "hidden and mine");
    scanLocal(mFileAPI::ViewTab::Hdd); // hidden files are not listed there
    prompt.answer = false;
    auto r = request({0}, mFileAPI::ViewTab::Hdd);
    ReceiveSelectedFiles(r);
    EXPECT_EQ(prompt.questions.size(), 1);
    EXPECT_EQ(read(QStringLiteral(".notes")), QByteArray("hidden and mine"));
}

TEST_F(ReceiveFiles, FailureOnTheSecondOfThreeKeepsTheOldFileAndNoPartialOne)
{
    addEntries({{"A", "ZVD", 4, "a.zvd"}, {"B", "ZVD", 4, "b.zvd"}, {"C", "ZVD", 4, "c.zvd"}});
    for (const char* name : {"a.zvd", "b.zvd", "c.zvd"})
        playerContent.insert(QLatin1String(name), "new!");
    connect(PlayerView::Record);
    makeLocalFile(QStringLiteral("b.zvd"), "old b");
    scanLocal(mFileAPI::ViewTab::Record);
    failUploadAt = 1;
    auto r = request({0, 1, 2});
    const TransferOutcome outcome = ReceiveSelectedFiles(r);
    EXPECT_EQ(outcome.status, TransferOutcome::Status::Failed);
    EXPECT_EQ(outcome.failedName, QStringLiteral("b.zvd"));
    EXPECT_EQ(uploads.size(), 2u); // the third is not tried
    EXPECT_EQ(read(QStringLiteral("b.zvd")), QByteArray("old b"));
    EXPECT_EQ(folderEntries(), QStringList({"a.zvd", "b.zvd"}));
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].startsWith(texts.recvFail + QStringLiteral("\r\nb.zvd\r\n")));
    EXPECT_TRUE(prompt.messages[0].endsWith(QStringLiteral("2 of 3 files were not received.")));
    EXPECT_EQ(local.count(), 2);
}

TEST_F(ReceiveFiles, ShortDeliveryCountsAsFailure)
{
    addEntries({{"A", "ZVD", 10, "a.zvd"}});
    playerContent.insert(QStringLiteral("a.zvd"), "short");
    connect(PlayerView::Record);
    auto r = request({0});
    EXPECT_EQ(ReceiveSelectedFiles(r).status, TransferOutcome::Status::Failed);
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(ReceiveFiles, EntryNamesThatWouldLeaveTheFolderAreRefused)
{
    // The names come from the player's records: outside bytes, never a path to follow.
    addEntries({{"EVIL", "TXT", 3, "../evil.txt"}, {"SUB", "TXT", 3, "sub/x.txt"}});
    playerContent.insert(QStringLiteral("../evil.txt"), "bad");
    connect(PlayerView::All);
    ASSERT_TRUE(QDir(localDir.path()).mkdir(QStringLiteral("in")));
    makeLocalFile(QStringLiteral("evil.txt"), "mine");
    for (int row : {0, 1}) {
        prompt.messages.clear();
        auto r = request({row}, mFileAPI::ViewTab::Hdd);
        r.folder = localDir.filePath(QStringLiteral("in"));
        const TransferOutcome outcome = ReceiveSelectedFiles(r);
        EXPECT_EQ(outcome.status, TransferOutcome::Status::Failed);
        ASSERT_EQ(prompt.messages.size(), 1);
        EXPECT_TRUE(prompt.messages[0].contains(session.list().row(row).name));
    }
    EXPECT_TRUE(uploads.empty());
    EXPECT_TRUE(prompt.questions.isEmpty());
    EXPECT_EQ(read(QStringLiteral("evil.txt")), QByteArray("mine"));
    EXPECT_TRUE(QDir(localDir.filePath(QStringLiteral("in")))
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(ReceiveFiles, FolderEndingInASeparatorGetsNoSecondOne)
{
    addEntries({{"A", "ZVD", 1, "a.zvd"}});
    playerContent.insert(QStringLiteral("a.zvd"), "a");
    connect(PlayerView::Record);
    auto r = request({0});
    r.folder = localDir.path() + QLatin1Char('/');
    EXPECT_EQ(ReceiveSelectedFiles(r).status, TransferOutcome::Status::Done);
    EXPECT_EQ(read(QStringLiteral("a.zvd")), QByteArray("a"));
    EXPECT_FALSE(uploads[0].path.contains(QStringLiteral("//")));
}

} // namespace
