// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/FolderScanner.h"
#include "audio/TagColumns.h"
#include "localfiles/LocalFileModel.h"
#include "localfiles/PathJoin.h"
#include "localfiles/SelectionSummary.h"

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mFileAPI;

namespace
{

class FolderScanner : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    void makeFile(const QString& name, qint64 size = 0)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }

    QStringList names(const std::vector<LocalFileRow>& rows)
    {
        QStringList list;
        for (const LocalFileRow& row : rows)
            list.append(row.name);
        return list;
    }

    // Records which files the tag reader was asked about.
    TagColumnReader recordingReader()
    {
        return [this](const QString& path) {
            asked.append(QFileInfo(path).fileName());
            return TagColumns{QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("G")};
        };
    }

    QTemporaryDir dir;
    QStringList asked;
};

TEST_F(FolderScanner, AudioViewListsMusicByNameAndReadsTagsOfMp3Only)
{
    makeFile(QStringLiteral("b.MP3"), 10);
    makeFile(QStringLiteral("A.mp3"), 5);
    makeFile(QStringLiteral("c.wma"));
    makeFile(QStringLiteral("d.mp3.bak"));
    makeFile(QStringLiteral("MP3"));
    QDir(dir.path()).mkdir(QStringLiteral("folder.mp3"));

    const auto rows = scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio), recordingReader());
    EXPECT_EQ(names(rows), QStringList({"A.mp3", "b.MP3", "c.wma", "MP3"}));
    asked.sort();
    EXPECT_EQ(asked, QStringList({"A.mp3", "MP3", "b.MP3"})); // sorted by code point
    EXPECT_EQ(rows[0].size, 5);
    EXPECT_EQ(rows[1].sizeText, QStringLiteral("10"));
    EXPECT_EQ(rows[1].path, AddSlash(QDir::toNativeSeparators(dir.path())) + QStringLiteral("b.MP3"));
    EXPECT_EQ(rows[1].title, QStringLiteral("T"));
    EXPECT_TRUE(rows[2].title.isEmpty()); // WMA files keep empty tag columns
}

TEST_F(FolderScanner, HddViewSkipsHiddenMusicAndSpecialFiles)
{
    makeFile(QStringLiteral("notes.txt"));
    makeFile(QStringLiteral(".profile"));
    makeFile(QStringLiteral("song.mp3"));
    makeFile(QStringLiteral("REC.ZVD"));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.txt"))).constData(), 0600), 0);
    const auto rows = scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Hdd), recordingReader());
    EXPECT_EQ(names(rows), QStringList({"notes.txt"}));
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(FolderScanner, FifoNamedLikeMusicIsNeverOpened)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("trap.mp3"))).constData(), 0600), 0);
    EXPECT_TRUE(scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio), recordingReader()).empty());
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(FolderScanner, VirtualOrEmptyFoldersListNothing)
{
    LocalFileModel model;
    makeFile(QStringLiteral("x.zvd"));
    ScanFolder(model, dir.path(), QStringLiteral("ZVD"), QString(), QString());
    EXPECT_EQ(model.count(), 1);
    ScanFolder(model, QStringLiteral(":computer"), QStringLiteral("ZVD"), QString(), QString());
    EXPECT_EQ(model.count(), 0);
    ScanFolder(model, dir.filePath(QStringLiteral("missing")), QStringLiteral("ZVD"), QString(), QString());
    EXPECT_EQ(model.count(), 0);
    QTemporaryDir empty;
    ScanFolderExcept(model, empty.path(), QStringLiteral("MP3"), QStringLiteral("WMA"),
                     QStringLiteral("ZVD"));
    EXPECT_EQ(model.count(), 0);
}

TEST_F(FolderScanner, RealTagReaderLeavesColumnsEmptyForDamagedFiles)
{
    makeFile(QStringLiteral("garbage.mp3"), 300);
    const auto rows = scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].title.isEmpty() && rows[0].artist.isEmpty() && rows[0].genre.isEmpty());
}

// An MP3 file as far as the tag columns care: an ID3v2.3 tag with title and artist, then bytes.
QByteArray taggedMp3(const QByteArray& title, const QByteArray& artist, int padding = 200)
{
    QByteArray frames;
    for (const auto& [id, text] :
         {std::pair{QByteArray("TIT2"), title}, std::pair{QByteArray("TPE1"), artist}}) {
        const int size = int(text.size()) + 1;
        frames += id;
        frames += char(size >> 24);
        frames += char(size >> 16);
        frames += char(size >> 8);
        frames += char(size);
        frames += QByteArray(2, '\0');
        frames += '\0'; // Latin-1
        frames += text;
    }
    const int size = int(frames.size());
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        tag += char((size >> shift) & 0x7F);
    return tag + frames + QByteArray(padding, '\xAA');
}

class RelativeScan : public FolderScanner
{
protected:
    void writeSong(const QString& name, const QByteArray& title, int padding = 200)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(taggedMp3(title, "Artist " + title, padding));
    }
    static void expectSame(const LocalFileRow& a, const LocalFileRow& b)
    {
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.path, b.path);
        EXPECT_EQ(a.size, b.size) << a.name.toStdString();
        EXPECT_EQ(a.sizeText, b.sizeText);
        EXPECT_EQ(a.title, b.title) << a.name.toStdString();
        EXPECT_EQ(a.artist, b.artist);
        EXPECT_EQ(a.genre, b.genre);
        EXPECT_EQ(a.pending, b.pending);
    }
};

// One open per file, relative to the folder, gives the size and the tags; links count by what
// they point to, and what cannot be opened still shows its size.
TEST_F(RelativeScan, SizeAndTagsComeFromOneOpenOfEachFile)
{
    writeSong(QStringLiteral("one.mp3"), "One", 100);
    writeSong(QStringLiteral("two.MP3"), "Two", 300);
    makeFile(QStringLiteral("three.wma"), 7);
    ASSERT_EQ(::symlink("one.mp3", QFile::encodeName(dir.filePath(QStringLiteral("link.mp3"))).constData()),
              0);
    ASSERT_EQ(
        ::symlink("missing.mp3", QFile::encodeName(dir.filePath(QStringLiteral("dangling.mp3"))).constData()),
        0);
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    ASSERT_EQ(::symlink("sub", QFile::encodeName(dir.filePath(QStringLiteral("folder.mp3"))).constData()), 0);

    const auto rows = scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio));
    ASSERT_EQ(names(rows), QStringList({"link.mp3", "one.mp3", "three.wma", "two.MP3"}));
    EXPECT_EQ(rows[0].title, QStringLiteral("One"));
    EXPECT_EQ(rows[0].size, rows[1].size);
    EXPECT_EQ(rows[1].artist, QStringLiteral("Artist One"));
    EXPECT_EQ(rows[2].size, 7);
    EXPECT_TRUE(rows[2].title.isEmpty());
    EXPECT_EQ(rows[3].title, QStringLiteral("Two"));
    EXPECT_EQ(rows[3].size, qint64(taggedMp3("Two", "Artist Two", 300).size()));
    for (const LocalFileRow& row : rows)
        EXPECT_FALSE(row.pending);

    if (::geteuid() != 0) { // root reads any file
        ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("two.MP3"))).constData(), 0), 0);
        const auto locked = scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio));
        EXPECT_EQ(locked[3].size, rows[3].size);
        EXPECT_TRUE(locked[3].title.isEmpty());
    }
}

TEST_F(RelativeScan, ListedRowsArePendingUntilCompletedAndThenMatchAFullScan)
{
    writeSong(QStringLiteral("b.mp3"), "Bee");
    writeSong(QStringLiteral("A.mp3"), "Ay");
    makeFile(QStringLiteral("c.wma"), 3);
    makeFile(QStringLiteral("gone.mp3"), 3);
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.mp3"))).constData(), 0600), 0);
    const auto full = scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio));
    auto listed = listFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio));
    ASSERT_EQ(names(listed), names(full));
    for (const LocalFileRow& row : listed) {
        EXPECT_TRUE(row.pending);
        EXPECT_FALSE(row.hasSize());
    }
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (listed[i].name == QStringLiteral("gone.mp3"))
            continue;
        completeRow(listed[i]);
        expectSame(listed[i], full[i]);
    }
    // A file removed between listing and reading keeps an unknown size and empty columns.
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("gone.mp3"))));
    LocalFileRow& gone = listed[3];
    ASSERT_EQ(gone.name, QStringLiteral("gone.mp3"));
    completeRow(gone);
    EXPECT_FALSE(gone.pending);
    EXPECT_FALSE(gone.hasSize());
    EXPECT_TRUE(gone.title.isEmpty());
    EXPECT_TRUE(listFolderRows(QStringLiteral(":computer"), ScanRule::forView(ViewTab::Audio)).empty());
    EXPECT_TRUE(
        listFolderRows(dir.filePath(QStringLiteral("nothing")), ScanRule::forView(ViewTab::Audio)).empty());
}

class BackgroundFill : public RelativeScan
{
protected:
    void SetUp() override
    {
        RelativeScan::SetUp();
        for (int n = 0; n < Files; ++n)
            writeSong(QStringLiteral("song %1.mp3").arg(n, 4, 10, QLatin1Char('0')),
                      QByteArray::number((n * 7919) % Files).rightJustified(4, '0'));
    }
    bool waitForFilling(LocalFileModel& model, QSignalSpy& finished)
    {
        return model.isFilling() ? finished.wait(20000) : finished.count() > 0;
    }
    static constexpr int Files = 700;
};

TEST_F(BackgroundFill, EveryRowArrivesInChunksAndMatchesAFullScan)
{
    LocalFileModel model;
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    QSignalSpy changed(&model, &LocalFileModel::dataChanged);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    ASSERT_EQ(model.count(), Files);
    ASSERT_TRUE(waitForFilling(model, finished));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_GE(changed.count(), 2); // more than one chunk
    const auto full = scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio));
    for (int i = 0; i < Files; ++i)
        expectSame(model.row(i), full[std::size_t(i)]);
    EXPECT_EQ(model.data(model.index(5, LocalFileModel::ColTitle)).toString(), full[5].title);
}

TEST_F(BackgroundFill, RowsAskedForBeforeTheirChunkAreReadOnTheSpot)
{
    LocalFileModel model;
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    // No event has been processed yet: no chunk has reached the model.
    const LocalFileRow& last = model.row(Files - 1);
    EXPECT_FALSE(last.pending);
    EXPECT_EQ(last.title, QByteArray::number(((Files - 1) * 7919) % Files).rightJustified(4, '0'));
    EXPECT_TRUE(last.hasSize());
    ASSERT_TRUE(waitForFilling(model, finished));
    EXPECT_EQ(model.row(Files - 1).title, last.title);
}

// What the view paints never waits for a file: a pending row shows its name and empty columns,
// and the thread reads the painted row next, before the rows between.
TEST_F(BackgroundFill, PaintingReadsNoFileAndThePaintedRowIsReadNext)
{
    LocalFileModel model;
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    const QModelIndex last = model.index(Files - 1, LocalFileModel::ColTitle);
    const QModelIndex beforeIt = model.index(Files - 2, LocalFileModel::ColTitle);
    EXPECT_EQ(model.data(model.index(Files - 1, LocalFileModel::ColName)).toString(),
              QStringLiteral("song 0699.mp3"));
    EXPECT_TRUE(model.data(last).toString().isEmpty());
    bool arrivedFirst = false;
    QObject::connect(&model, &LocalFileModel::dataChanged, [&] {
        if (!arrivedFirst && !model.data(last).toString().isEmpty())
            arrivedFirst = model.data(beforeIt).toString().isEmpty();
    });
    ASSERT_TRUE(waitForFilling(model, finished));
    EXPECT_TRUE(arrivedFirst) << "the painted row was read in name order, not first";
    const QString title = QByteArray::number(((Files - 1) * 7919) % Files).rightJustified(4, '0');
    EXPECT_EQ(model.data(last).toString(), title);
    EXPECT_FALSE(model.data(beforeIt).toString().isEmpty());
}

TEST_F(BackgroundFill, SortingByTitleWhileFillingReadsThePendingRowsFirst)
{
    LocalFileModel model;
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    model.sort(LocalFileModel::ColTitle, Qt::DescendingOrder);
    for (int i = 0; i + 1 < Files; ++i)
        ASSERT_GE(model.row(i).title, model.row(i + 1).title) << i;
    EXPECT_EQ(model.row(0).title, QStringLiteral("0699"));
    ASSERT_TRUE(waitForFilling(model, finished));
    EXPECT_EQ(model.row(0).title, QStringLiteral("0699"));
}

TEST_F(BackgroundFill, ANewListingLeavesNothingOfTheOldOneBehind)
{
    LocalFileModel model;
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    QTemporaryDir other;
    QFile lone(QDir(other.path()).filePath(QStringLiteral("lone.mp3")));
    ASSERT_TRUE(lone.open(QIODevice::WriteOnly));
    lone.write(taggedMp3("Lone", "Alone"));
    lone.close();
    ListFolderForView(model, other.path(), ViewTab::Audio);
    ASSERT_TRUE(waitForFilling(model, finished));
    QCoreApplication::processEvents();
    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(model.row(0).title, QStringLiteral("Lone"));
    EXPECT_EQ(finished.count(), 1);
    model.clear();
    EXPECT_FALSE(model.isFilling());
}

// Large folders reach the model in chunks; the chunks are made small here so a few hundred
// files give many of them.
class ChunkedListing : public BackgroundFill
{
protected:
    ChunkedListing() { model.setListingChunks(40, 90); }
    ~ChunkedListing() override
    {
        // Qt cannot name files whose names are not UTF-8: the folder goes by its bytes.
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(dir.path()).toStdString(), ignored);
    }
    QStringList shown() const
    {
        QStringList list;
        for (int i = 0; i < model.count(); ++i)
            list.append(model.data(model.index(i, LocalFileModel::ColName)).toString());
        return list;
    }
    static bool inNameOrder(const QStringList& list)
    {
        for (qsizetype i = 1; i < list.size(); ++i)
            if (list[i - 1].toCaseFolded() > list[i].toCaseFolded())
                return false;
        return true;
    }
    LocalFileModel model;
};

TEST_F(ChunkedListing, TheFirstChunkShowsAtOnceAndEveryLaterOneMergesIntoNameOrder)
{
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    QSignalSpy inserted(&model, &LocalFileModel::rowsInserted);
    bool alwaysInOrder = true;
    QObject::connect(&model, &LocalFileModel::layoutChanged, [&] { alwaysInOrder &= inNameOrder(shown()); });
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    EXPECT_EQ(model.count(), 40);
    EXPECT_TRUE(inNameOrder(shown()));
    ASSERT_TRUE(waitForFilling(model, finished));
    EXPECT_TRUE(alwaysInOrder);
    EXPECT_GE(inserted.count(), 8); // the first chunk and at least seven more
    const auto full = scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio));
    ASSERT_EQ(model.count(), Files);
    for (int i = 0; i < Files; ++i)
        expectSame(model.row(i), full[std::size_t(i)]);
}

TEST_F(ChunkedListing, SelectionAndCurrentRowStayOnTheirRowsWhileChunksMergeIn)
{
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    QItemSelectionModel selection(&model);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    const QString chosen = model.row(20).name;
    selection.setCurrentIndex(model.index(20, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ASSERT_TRUE(waitForFilling(model, finished));
    ASSERT_EQ(model.count(), Files);
    EXPECT_EQ(model.row(selection.currentIndex().row()).name, chosen);
    const QModelIndexList rows = selection.selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(model.row(rows[0].row()).name, chosen);
}

TEST_F(ChunkedListing, TheSummaryKeepsWhatWasSelectedBeforeLaterChunksCame)
{
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    QItemSelectionModel selection(&model);
    SelectionSummary summary(model);
    summary.track(&selection);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    selection.select(model.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_TRUE(waitForFilling(model, finished));
    selection.select(model.index(Files - 1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(summary.figures().count, 2);
    const QModelIndexList rows = selection.selectedRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(summary.figures().total, model.row(rows[0].row()).size + model.row(rows[1].row()).size);
}

TEST_F(ChunkedListing, RowsArrivingWhileSortedByTitleTakeTheirPlaceByTitle)
{
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    model.sort(LocalFileModel::ColTitle, Qt::DescendingOrder);
    ASSERT_TRUE(waitForFilling(model, finished));
    ASSERT_EQ(model.count(), Files);
    for (int i = 0; i + 1 < Files; ++i)
        ASSERT_GE(model.row(i).title, model.row(i + 1).title) << i;
}

TEST_F(ChunkedListing, AQuickSecondChoiceShowsOnlyTheSecondFolder)
{
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    QTemporaryDir other;
    for (const char* name : {"x.mp3", "y.mp3"}) {
        QFile song(QDir(other.path()).filePath(QLatin1String(name)));
        ASSERT_TRUE(song.open(QIODevice::WriteOnly));
        song.write(taggedMp3(name, "Other"));
    }
    ListFolderForView(model, other.path(), ViewTab::Audio);
    bool onlyTheSecond = true;
    QObject::connect(&model, &LocalFileModel::rowsInserted, [&] { onlyTheSecond = false; });
    ASSERT_TRUE(waitForFilling(model, finished));
    QCoreApplication::processEvents();
    EXPECT_TRUE(onlyTheSecond) << "rows of the first folder arrived after the second was chosen";
    EXPECT_EQ(shown(), QStringList({"x.mp3", "y.mp3"}));
    EXPECT_EQ(model.row(1).title, QStringLiteral("y.mp3"));
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(ChunkedListing, AFolderRemovedWhileListedEndsTheListingWithoutHarm)
{
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    ASSERT_TRUE(QDir(dir.path()).removeRecursively());
    ASSERT_TRUE(waitForFilling(model, finished));
    EXPECT_GE(model.count(), 40);
    EXPECT_LE(model.count(), Files);
    // What was read before the files went is right; the rest is unknown, not made up.
    for (int i = 0; i < model.count(); ++i) {
        const LocalFileRow& row = model.row(i);
        if (row.hasSize())
            EXPECT_EQ(row.size,
                      qint64(taggedMp3(row.title.toLatin1(), "Artist " + row.title.toLatin1()).size()));
        else
            EXPECT_TRUE(row.title.isEmpty());
    }
}

TEST_F(ChunkedListing, PipesAndNamesOfNoKnownTextNeitherHangNorShow)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.mp3"))).constData(), 0600), 0);
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    // Bytes that are neither UTF-8 nor text of the code page, and a Latin name that is.
    for (const QByteArray& name : {QByteArray("\x81\x8d.mp3"), QByteArray("caf\xe9.mp3")}) {
        const int fd = ::open((folder + name).constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray song = taggedMp3("Odd", "Name");
        ASSERT_EQ(::write(fd, song.constData(), std::size_t(song.size())), song.size());
        ::close(fd);
    }
    QSignalSpy finished(&model, &LocalFileModel::fillingFinished);
    ListFolderForView(model, dir.path(), ViewTab::Audio);
    ASSERT_TRUE(waitForFilling(model, finished));
    const auto full = scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio));
    ASSERT_EQ(model.count(), int(full.size()));
    for (int i = 0; i < model.count(); ++i)
        expectSame(model.row(i), full[std::size_t(i)]);
    EXPECT_FALSE(shown().contains(QStringLiteral("pipe.mp3")));
    EXPECT_GE(model.count(), Files);
}

} // namespace
