// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A folder large enough to be read by several threads gives exactly the rows that reading its
// files one at a time gives, whatever the files hold.
#include "audio/TagColumns.h"
#include "localfiles/FolderScanner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace mFileAPI;

namespace
{

QByteArray id3v2(const QByteArray& title, const QByteArray& artist)
{
    QByteArray frames;
    for (const auto& [id, text] :
         {std::pair{QByteArray("TIT2"), title}, std::pair{QByteArray("TPE1"), artist}}) {
        const int size = int(text.size()) + 1;
        frames += id;
        for (int shift : {24, 16, 8, 0})
            frames += char((size >> shift) & 0xFF);
        frames += QByteArray(2, '\0');
        frames += '\0'; // Latin-1
        frames += text;
    }
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        tag += char((int(frames.size()) >> shift) & 0x7F);
    return tag + frames + QByteArray(300, '\xAA');
}

QByteArray id3v1(const QByteArray& title, const QByteArray& artist, char genre)
{
    const auto field = [](const QByteArray& text, int size) { return text.leftJustified(size, '\0', true); };
    QByteArray audio;
    for (int n = 0; n < 40; ++n)
        audio += QByteArray("\xFF\xFB\x90\x00", 4) + QByteArray(413, '\x11');
    return audio + "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) + "1999" +
           field("", 30) + genre;
}

class ThreadedScan : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    void write(const QByteArray& name, const QByteArray& bytes)
    {
        QFile file(QFile::decodeName(QFile::encodeName(dir.path()) + '/' + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // Every kind of file a music folder holds, mixed through more rows than one thread reads.
    void fill(int count)
    {
        for (int n = 0; n < count; ++n) {
            // Names differ in case only where they sort by the folded name; ties keep the folder's order.
            const QByteArray name =
                (n % 3 == 0 ? "TRACK " : "track ") + QByteArray::number(n).rightJustified(4, '0');
            const QByteArray number = QByteArray::number(n);
            switch (n % 7) {
            case 0:
                write(name + ".mp3", id3v1("Old " + number, "Tail", char(n % 150)));
                break;
            case 1:
                write(name + ".Mp3", QByteArray(n, '\x5A')); // no tag at all, and one file empty
                break;
            case 2:
                // A tag cut off in the middle of its frames.
                write(name + ".mp3", id3v2("Cut " + number, "Nobody").left(17 + n % 9));
                break;
            default:
                write(name + ".mp3", id3v2("Title " + number, "Artist " + number));
            }
        }
        write("readme.wma", "not music");
        write("broken.flac", "fLaC and nothing a reader would want");
        write("caf\xE9 latin.mp3", id3v2("Caf\xE9", "Somebody"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.mp3"))).constData(), 0600), 0);
        ASSERT_EQ(::symlink("track 0004.mp3",
                            QFile::encodeName(dir.filePath(QStringLiteral("link.mp3"))).constData()),
                  0);
        ASSERT_EQ(::symlink("nowhere.mp3",
                            QFile::encodeName(dir.filePath(QStringLiteral("dangling.mp3"))).constData()),
                  0);
    }

    // The same folder read the slow way: listed by name, then each row completed in turn.
    std::vector<LocalFileRow> oneAtATime(QStringList* refused)
    {
        std::vector<LocalFileRow> rows =
            listFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio), refused);
        const RowCompleter completer(dir.path());
        for (LocalFileRow& row : rows)
            completer.complete(row);
        return rows;
    }

    QTemporaryDir dir;
};

TEST_F(ThreadedScan, ManyFilesReadTogetherMatchReadingThemOneAtATime)
{
    constexpr int Files = 1500;
    fill(Files);
    QStringList refused;
    const std::vector<LocalFileRow> rows =
        scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio), {}, &refused);
    QStringList refusedSlowly;
    const std::vector<LocalFileRow> expected = oneAtATime(&refusedSlowly);
    EXPECT_EQ(refused, refusedSlowly);
    // Every track, the latin name, the link, the flac, the wma; not the pipe nor the dangling link.
    ASSERT_EQ(rows.size(), std::size_t(Files + 4));
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name.toStdString());
        EXPECT_EQ(rows[i].name, expected[i].name);
        EXPECT_EQ(rows[i].path, expected[i].path);
        EXPECT_EQ(rows[i].size, expected[i].size);
        EXPECT_EQ(rows[i].sizeText, expected[i].sizeText);
        EXPECT_EQ(rows[i].title, expected[i].title);
        EXPECT_EQ(rows[i].artist, expected[i].artist);
        EXPECT_EQ(rows[i].genre, expected[i].genre);
        EXPECT_FALSE(rows[i].pending);
    }
    // Spot checks that the reference itself read what the files hold.
    const auto rowNamed = [&](const QString& name) {
        for (const LocalFileRow& row : rows)
            if (row.name == name)
                return row;
        ADD_FAILURE() << name.toStdString();
        return LocalFileRow();
    };
    EXPECT_EQ(rowNamed(QStringLiteral("track 0007.mp3")).title, QStringLiteral("Old 7"));
    EXPECT_EQ(rowNamed(QStringLiteral("track 0010.mp3")).artist, QStringLiteral("Artist 10"));
    EXPECT_EQ(rowNamed(QStringLiteral("link.mp3")).title, QStringLiteral("Title 4"));
    EXPECT_EQ(rowNamed(QStringLiteral("TRACK 0015.Mp3")).size, 15);
    EXPECT_TRUE(rowNamed(QStringLiteral("track 0002.mp3")).title.isEmpty());
    EXPECT_EQ(rowNamed(QStringLiteral("readme.wma")).size, 9);
    for (std::size_t i = 0; i + 1 < rows.size(); ++i)
        EXPECT_LE(rows[i].name.toCaseFolded(), rows[i + 1].name.toCaseFolded());
}

// A reader handed in by the caller may keep state of its own: it is never called from two
// threads, and is asked once about each file with tag columns.
TEST_F(ThreadedScan, ACallersOwnReaderIsOnlyCalledFromTheCallingThread)
{
    constexpr int Files = 900;
    fill(Files);
    std::multiset<QString> asked;
    bool otherThread = false;
    const auto caller = std::this_thread::get_id();
    const TagColumnReader reader = [&](const QString& path) {
        otherThread = otherThread || std::this_thread::get_id() != caller;
        asked.insert(QFileInfo(path).fileName());
        return TagColumns{QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("G")};
    };
    const std::vector<LocalFileRow> rows =
        scanFolderRows(dir.path(), ScanRule::forView(ViewTab::Audio), reader);
    EXPECT_FALSE(otherThread);
    std::size_t tagged = 0;
    for (const LocalFileRow& row : rows) {
        if (!hasTagColumns(row.name))
            continue;
        ++tagged;
        EXPECT_EQ(asked.count(row.name), 1u) << row.name.toStdString();
        EXPECT_EQ(row.title, QStringLiteral("T"));
    }
    EXPECT_EQ(asked.size(), tagged);
}

} // namespace
