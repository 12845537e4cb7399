// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "FolderScanner.h"
#include "LocalFileModel.h"
#include "PathJoin.h"
#include "TagColumns.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

} // namespace
