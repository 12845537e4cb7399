// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/SendFiles.h"
#include "TestEnvironment.h"
#include "TransferFake.h"
#include "core/AppPaths.h"
#include "device/PlayerSetAside.h"
#include "localfiles/FolderScanner.h"
#include "transfer/TitleBlock.h"

#include "audio/MpegAnalysis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

class SendFiles : public TransferFixture
{
protected:
    SendRequest request(std::vector<int> rows)
    {
        SendRequest r{session, prompt, local, std::move(rows), 1, {}, &observer, {}};
        r.makeBlock = [this](const QString& text, qint16 value) {
            blocks.append({text, value});
            return QByteArray(TitleBlock::Size, 'B');
        };
        return r;
    }

    // Positions of the named files in the local list.
    std::vector<int> rowsOf(const QStringList& names)
    {
        std::vector<int> rows;
        for (const QString& name : names)
            rows.push_back(local.findNameIgnoringCase(name));
        return rows;
    }

    QStringList downloadedNames() const
    {
        QStringList names;
        for (const DownloadCall& call : downloads)
            names << QFileInfo(call.path).fileName();
        return names;
    }

    std::vector<int64_t> deletedIndexes() const
    {
        std::vector<int64_t> indexes;
        for (const FakeCall& call : fake.callsOf("Delete"))
            indexes.push_back(call.numbers.at(2)); // after handle and medium
        return indexes;
    }

    QList<QPair<QString, qint16>> blocks;
    RecordingObserver observer;
};

TEST_F(SendFiles, NothingSelectedStillRebuildsThePlayerList)
{
    connect(PlayerView::Audio);
    auto r = request({});
    const TransferOutcome outcome = SendSelectedFiles(r);
    EXPECT_EQ(outcome.status, TransferOutcome::Status::Done);
    EXPECT_TRUE(prompt.questions.isEmpty());
    EXPECT_TRUE(downloads.empty());
    EXPECT_FALSE(fake.callsOf("Refresh").empty());
}

TEST_F(SendFiles, WithoutConnectionNothingHappens)
{
    makeLocalFile(QStringLiteral("a.mp3"), "abc");
    scanLocal(mFileAPI::ViewTab::Audio);
    auto r = request({0});
    EXPECT_EQ(SendSelectedFiles(r).status, TransferOutcome::Status::NotConnected);
    EXPECT_TRUE(downloads.empty());
    EXPECT_TRUE(fake.calls.empty() || fake.callsOf("Refresh").empty());
}

TEST_F(SendFiles, AnsweringNoKeepsThePlayersFileAndSendsTheOthers)
{
    addEntries({{"TWO", "ZVD", 10, "two.zvd"}});
    connect(PlayerView::Record);
    for (const char* name : {"one.zvd", "two.zvd", "three.zvd"})
        makeLocalFile(QLatin1String(name), "data");
    scanLocal(mFileAPI::ViewTab::Record);
    prompt.answer = false;
    auto r = request(rowsOf({"one.zvd", "two.zvd", "three.zvd"}));
    const TransferOutcome outcome = SendSelectedFiles(r);
    EXPECT_EQ(prompt.questions, QStringList({"Same name.\r\nReplace?"}));
    EXPECT_EQ(prompt.titles.value(0), QStringLiteral("Box Title"));
    EXPECT_TRUE(fake.callsOf("Delete").empty());
    EXPECT_EQ(downloadedNames(), QStringList({"one.zvd", "three.zvd"}));
    EXPECT_EQ(outcome.transferred, 2);
    // Outside the audio view files go from where they lie, untouched.
    EXPECT_EQ(downloads[0].path, local.row(local.findNameIgnoringCase(QStringLiteral("one.zvd"))).path);
    EXPECT_EQ(downloads[0].content, QByteArray("data"));
}

TEST_F(SendFiles, ReplacedEntriesAreDeletedWithShiftedIndexes)
{
    // Player entries 0..5; the local list orders b.zvd (entry 5) before c.zvd (entry 2).
    addEntries({{"X0", "ZVD", 1, "x0.zvd"},
                {"X1", "ZVD", 1, "x1.zvd"},
                {"C", "ZVD", 1, "c.zvd"},
                {"X3", "ZVD", 1, "x3.zvd"},
                {"X4", "ZVD", 1, "x4.zvd"},
                {"B", "ZVD", 1, "B.ZVD"}});
    connect(PlayerView::Record);
    makeLocalFile(QStringLiteral("b.zvd"), "b");
    makeLocalFile(QStringLiteral("c.zvd"), "c");
    scanLocal(mFileAPI::ViewTab::Record);
    auto r = request(rowsOf({"b.zvd", "c.zvd"}));
    SendSelectedFiles(r);
    EXPECT_EQ(deletedIndexes(), (std::vector<int64_t>{5, 2}));
    // Each old entry is set aside under a name of ours, then deleted under that name once its
    // replacement has arrived.
    const std::string aside = PlayerSetAside::nameFor(QStringLiteral("B.ZVD")).toStdString();
    ASSERT_EQ(fake.callsOf("Rename").size(), 2u);
    EXPECT_EQ(fake.callsOf("Rename").at(0).numbers.at(2), 5);
    EXPECT_EQ(fake.callsOf("Rename").at(0).text, aside);
    EXPECT_EQ(fake.callsOf("Delete").at(0).text, aside);
    EXPECT_EQ(fake.callNames().indexOf(QStringLiteral("Download")) <
                  fake.callNames().indexOf(QStringLiteral("Delete")),
              true)
        << "the old entry goes only after its replacement arrived";
}

TEST_F(SendFiles, LaterDeletionsMoveUpPastEarlierOnes)
{
    addEntries({{"X0", "ZVD", 1, "x0.zvd"},
                {"X1", "ZVD", 1, "x1.zvd"},
                {"A", "ZVD", 1, "a.zvd"},
                {"X3", "ZVD", 1, "x3.zvd"},
                {"X4", "ZVD", 1, "x4.zvd"},
                {"D", "ZVD", 1, "d.zvd"}});
    connect(PlayerView::Record);
    makeLocalFile(QStringLiteral("a.zvd"), "a");
    makeLocalFile(QStringLiteral("d.zvd"), "d");
    scanLocal(mFileAPI::ViewTab::Record);
    auto r = request(rowsOf({"a.zvd", "d.zvd"}));
    SendSelectedFiles(r);
    EXPECT_EQ(deletedIndexes(), (std::vector<int64_t>{2, 4}));
    // The entries that stay are the untouched ones plus the two sent files.
    EXPECT_EQ(fake.entries.size(), 6u);
}

TEST_F(SendFiles, NamesDifferingOnlyInCaseDeleteTheirEntryOnce)
{
    addEntries({{"A", "ZVD", 1, "a.zvd"}, {"B", "ZVD", 1, "b.zvd"}});
    connect(PlayerView::Record);
    makeLocalFile(QStringLiteral("A.zvd"), "1");
    makeLocalFile(QStringLiteral("a.zvd"), "2");
    scanLocal(mFileAPI::ViewTab::Record);
    auto r = request({0, 1});
    SendSelectedFiles(r);
    EXPECT_EQ(prompt.questions.size(), 2);
    EXPECT_EQ(deletedIndexes(), (std::vector<int64_t>{0})); // b.zvd stays
    EXPECT_EQ(downloads.size(), 2u);
}

TEST_F(SendFiles, AudioViewSendsACopyWithTheTitleBlockAndRemovesIt)
{
    connect(PlayerView::Audio);
    const QByteArray music(3000, 'm');
    makeLocalFile(QStringLiteral("Song.MP3"), music);
    makeLocalFile(QStringLiteral("clip.wma"), "wma");
    scanLocal(mFileAPI::ViewTab::Audio);
    auto r = request({0, 1});
    r.lcdSelector = 1;
    const TransferOutcome outcome = SendSelectedFiles(r);
    ASSERT_EQ(outcome.status, TransferOutcome::Status::Done);
    ASSERT_EQ(downloads.size(), 2u);
    EXPECT_EQ(downloadedNames(), QStringList({"clip.wma", "Song.MP3"}));
    EXPECT_EQ(downloads[1].content, music + QByteArray(TitleBlock::Size, 'B'));
    EXPECT_NE(QFileInfo(downloads[1].path).absolutePath(), QFileInfo(localDir.path()).absoluteFilePath());
    for (const DownloadCall& call : downloads)
        EXPECT_FALSE(QFileInfo::exists(call.path)) << qPrintable(call.path);
    // Display names from the name; a file that is no MPEG stream carries value 0.
    ASSERT_EQ(blocks.size(), 2);
    EXPECT_EQ(blocks[0], qMakePair(QStringLiteral("clip"), qint16(0)));
    EXPECT_EQ(blocks[1], qMakePair(QStringLiteral("Song"), qint16(0)));
    // The player lists the song at its own size again.
    const int listed = session.list().findNameIgnoringCase(QStringLiteral("Song.MP3"));
    ASSERT_GE(listed, 0);
    EXPECT_EQ(session.list().row(listed).size, 3000);
}

TEST_F(SendFiles, MusicSentOutsideTheAudioViewStillCarriesItsBlock)
{
    // The player lists every MP3 and WMA entry 1546 bytes short, whatever view sent it; without
    // the block such a file would come back cut.
    connect(PlayerView::Hdd);
    makeLocalFile(QStringLiteral("song.mp3"), "music");
    makeLocalFile(QStringLiteral("notes.txt"), "text");
    local.setRows(mFileAPI::scanFolderRows(
        localDir.path(),
        mFileAPI::ScanRule::include(QStringLiteral("MP3"), QStringLiteral("TXT"), QString())));
    auto r = request({0, 1});
    EXPECT_EQ(requiredSpace(r), 9 + TitleBlock::Size);
    ASSERT_EQ(SendSelectedFiles(r).status, TransferOutcome::Status::Done);
    ASSERT_EQ(downloadedNames(), QStringList({"notes.txt", "song.mp3"}));
    EXPECT_EQ(downloads[0].path, local.row(0).path); // sent as it is
    EXPECT_EQ(downloads[1].content, QByteArray("music") + QByteArray(TitleBlock::Size, 'B'));
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_EQ(blocks[0].first, QStringLiteral("song"));
}

TEST_F(SendFiles, AUsersFileOfTheSameNameBesideTheProgramIsNeverTouched)
{
    connect(PlayerView::Audio);
    makeLocalFile(QStringLiteral("mine.mp3"), "new song");
    scanLocal(mFileAPI::ViewTab::Audio);
    const QString usersFile = QDir(AppPaths::tempFolder()).filePath(QStringLiteral("mine.mp3"));
    {
        QFile file(usersFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
        file.write("the user's own file");
    }
    auto r = request({0});
    SendSelectedFiles(r);
    QFile check(usersFile);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("the user's own file"));
    check.remove();
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(QFileInfo(downloads[0].path).fileName(), QStringLiteral("mine.mp3"));
    EXPECT_TRUE(downloads[0].content.startsWith("new song"));
    EXPECT_FALSE(QFileInfo::exists(downloads[0].path));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(downloads[0].path).absolutePath()));
}

TEST_F(SendFiles, FreeSpaceCheckCountsTheTitleBlocks)
{
    connect(PlayerView::Audio);
    // 2 units of 1000 bytes free.
    fake.setMedium(10, 8, 1000, 1, 1);
    session.RefreshPlayerList();
    ASSERT_EQ(session.freeBytes(), 2000);
    makeLocalFile(QStringLiteral("a.mp3"), QByteArray(2000 - TitleBlock::Size, 'a'));
    scanLocal(mFileAPI::ViewTab::Audio);
    auto fits = request({0});
    EXPECT_EQ(requiredSpace(fits), 2000);
    EXPECT_EQ(SendSelectedFiles(fits).status, TransferOutcome::Status::Done);

    fake.entries.clear();
    session.RefreshPlayerList();
    makeLocalFile(QStringLiteral("b.mp3"), "b");
    scanLocal(mFileAPI::ViewTab::Audio);
    downloads.clear();
    fake.calls.clear();
    auto tooMuch = request({0, 1});
    EXPECT_EQ(SendSelectedFiles(tooMuch).status, TransferOutcome::Status::NotEnoughSpace);
    EXPECT_EQ(prompt.messages, QStringList({"Not enough space."}));
    EXPECT_EQ(prompt.icons.value(0), Prompt::Icon::Warning);
    EXPECT_TRUE(downloads.empty());
    EXPECT_TRUE(fake.callsOf("Refresh").empty());
}

TEST_F(SendFiles, FailureOnTheSecondOfFourStopsAndSaysSo)
{
    connect(PlayerView::Audio);
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3"})
        makeLocalFile(QLatin1String(name), "x");
    scanLocal(mFileAPI::ViewTab::Audio);
    failDownloadAt = 1;
    auto r = request({0, 1, 2, 3});
    const TransferOutcome outcome = SendSelectedFiles(r);
    EXPECT_EQ(outcome.status, TransferOutcome::Status::Failed);
    EXPECT_EQ(outcome.failedName, QStringLiteral("2.mp3"));
    EXPECT_EQ(downloadedNames(), QStringList({"1.mp3", "2.mp3"}));
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].startsWith(texts.sendFail + QStringLiteral("\r\n2.mp3\r\n")));
    EXPECT_TRUE(prompt.messages[0].endsWith(QStringLiteral("3 of 4 files were not sent.")));
    for (const DownloadCall& call : downloads)
        EXPECT_FALSE(QFileInfo::exists(call.path));
    EXPECT_FALSE(fake.callsOf("Refresh").empty());
    EXPECT_EQ(observer.results, QList<bool>({true, false}));
}

TEST_F(SendFiles, ObserverSeesEachFileAndMayCancelTheRest)
{
    connect(PlayerView::Record);
    for (const char* name : {"a.zvd", "b.zvd", "c.zvd"})
        makeLocalFile(QLatin1String(name), "12345");
    scanLocal(mFileAPI::ViewTab::Record);
    observer.cancelAt = 2;
    auto r = request({0, 1, 2});
    const TransferOutcome outcome = SendSelectedFiles(r);
    EXPECT_EQ(outcome.status, TransferOutcome::Status::Cancelled);
    EXPECT_EQ(outcome.transferred, 1);
    EXPECT_EQ(downloadedNames(), QStringList({"a.zvd"}));
    ASSERT_EQ(observer.started.size(), 1);
    EXPECT_EQ(observer.started[0].number, 1);
    EXPECT_EQ(observer.started[0].total, 3);
    EXPECT_EQ(observer.started[0].bytes, 5);
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(SendFiles, UnreadableSourceIsReportedAndLeavesNoCopy)
{
    connect(PlayerView::Audio);
    const QString path = makeLocalFile(QStringLiteral("gone.mp3"), "x");
    scanLocal(mFileAPI::ViewTab::Audio);
    QFile::remove(path);
    auto r = request({0});
    const TransferOutcome outcome = SendSelectedFiles(r);
    EXPECT_EQ(outcome.status, TransferOutcome::Status::Failed);
    EXPECT_TRUE(downloads.empty());
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].contains(QStringLiteral("gone.mp3")));
    EXPECT_FALSE(QFileInfo::exists(QDir(AppPaths::tempFolder()).filePath(QStringLiteral("gone.mp3"))));
}

// Copies a committed MP3 made once by lame (tests/audio/fixtures).
bool copyFixture(const QString& name, const QString& target)
{
    return QFile::copy(
        QDir(TestEnvironment::sourceDir()).filePath(QStringLiteral("tests/audio/fixtures/") + name), target);
}

TEST_F(SendFiles, TitleValueIsTheBitRateOfXingFilesOnly)
{
    connect(PlayerView::Audio);
    ASSERT_TRUE(copyFixture(QStringLiteral("cbr.mp3"), localDir.filePath(QStringLiteral("cbr.mp3"))));
    ASSERT_TRUE(copyFixture(QStringLiteral("vbr.mp3"), localDir.filePath(QStringLiteral("vbr.mp3"))));
    const MpegInfo vbr = AnalyseMpegFile(localDir.filePath(QStringLiteral("vbr.mp3")));
    ASSERT_TRUE(vbr.vbr);
    ASSERT_GT(vbr.bitRate, 0);
    scanLocal(mFileAPI::ViewTab::Audio);
    auto r = request({0, 1});
    SendSelectedFiles(r);
    ASSERT_EQ(blocks.size(), 2);
    EXPECT_EQ(blocks[0].second, 0);
    EXPECT_EQ(blocks[1].second, vbr.bitRate);
}

TEST_F(SendFiles, TitleValueOfAXingFileBehindALargeCoverPicture)
{
    connect(PlayerView::Audio);
    const QString encoded = localDir.filePath(QStringLiteral("vbr.encoded"));
    ASSERT_TRUE(copyFixture(QStringLiteral("vbr.mp3"), encoded));
    // An ID3v2.3 tag holding a 30 KB picture before the audio: far beyond the first 5000 bytes.
    const QByteArray picture =
        QByteArray("APIC\0\0\x75\x30\0\0\0image/png\0\x03\0", 23) + QByteArray(30000 - 13, char(0x89));
    QByteArray tag = QByteArray("ID3\x03\0\0\0\x01\x6A\x3A", 10) + picture;
    ASSERT_EQ(tag.size(), 10 + (1 << 14) + (0x6A << 7) + 0x3A); // the syncsafe size in the header
    QFile audio(encoded);
    ASSERT_TRUE(audio.open(QIODevice::ReadOnly));
    QFile song(localDir.filePath(QStringLiteral("cover.mp3")));
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.write(tag + audio.readAll());
    song.close();
    const MpegInfo info = AnalyseMpegFile(song.fileName());
    ASSERT_TRUE(info.vbr);
    ASSERT_GT(info.bitRate, 0);
    scanLocal(mFileAPI::ViewTab::Audio);
    auto r = request({0});
    SendSelectedFiles(r);
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_EQ(blocks[0].second, info.bitRate);
}

} // namespace
