// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/TagColumns.h"
#include "AudioFixtures.h"
#include "audio/FileWindow.h"
#include "audio/ID3v2FrameText.h"
#include "audio/ID3v2Locator.h"
#include "audio/cMP3ID3v1.h"
#include "audio/cMP3ID3v2.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace AudioFixtures;

namespace
{

class Columns : public ::testing::Test
{
protected:
    TagColumns columnsOf(const QByteArray& bytes)
    {
        return readTagColumns(writeFile(dir.path(), QStringLiteral("t.mp3"), bytes));
    }
    QByteArray v3(const QByteArray& frames)
    {
        QByteArray t = id3v2(3, 2048, frames);
        t.resize(2048, '\0');
        return t + audioFrame();
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(Columns, Version2TagWinsEvenWithEmptyFields)
{
    const QByteArray v1 = id3v1("V1 title", "V1 artist", 17);
    EXPECT_EQ(columnsOf(v3(frame("TIT2", QByteArray("\0Two", 4))) + v1),
              (TagColumns{QStringLiteral("Two"), QString(), QString()}));
}

TEST_F(Columns, Version1TextsEndAtTheirPaddingWhenThereIsNoVersion2Tag)
{
    const TagColumns columns = columnsOf(audioFrame() + id3v1("Song", "Band", 17));
    EXPECT_EQ(columns.title, QStringLiteral("Song"));
    EXPECT_EQ(columns.artist, QStringLiteral("Band"));
    EXPECT_EQ(columns.genre, QStringLiteral("Rock"));
    // Padded with blanks, or with bytes after the first NUL: the list shows only the text.
    const TagColumns padded = columnsOf(audioFrame() + id3v1("Yesterday   ", QByteArray("A\0junk", 6), 17));
    EXPECT_EQ(padded.title, QStringLiteral("Yesterday"));
    EXPECT_EQ(padded.artist, QStringLiteral("A"));
}

TEST_F(Columns, GenreIsTheNumbersNameElseTheGenreText)
{
    EXPECT_EQ(columnsOf(v3(frame("TCON", QByteArray("\0(17)Rock music", 15)))).genre, QStringLiteral("Rock"));
    EXPECT_EQ(columnsOf(v3(frame("TCON", QByteArray("\0Techno", 7)))).genre, QStringLiteral("Techno"));
    EXPECT_EQ(columnsOf(v3(frame("TCON", QByteArray("\0(123)", 6)))).genre, QString());
}

TEST_F(Columns, UnreadableAndEmptyFilesGiveEmptyColumns)
{
    EXPECT_EQ(readTagColumns(dir.filePath(QStringLiteral("missing.mp3"))), TagColumns());
    EXPECT_EQ(columnsOf(QByteArray()), TagColumns());
    EXPECT_EQ(readTagColumns(dir.path()), TagColumns()) << "a folder";
}

#ifdef Q_OS_UNIX
TEST_F(Columns, NamedPipeCalledMp3GivesEmptyColumnsWithoutWaitingForAWriter)
{
    const QString path = dir.filePath(QStringLiteral("pipe.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return readTagColumns(path); });
    const bool finished = reading.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!finished) {
        // Release the reader so the test ends: a writer that closes at once.
        QFile writer(path);
        writer.open(QIODevice::WriteOnly);
    }
    EXPECT_TRUE(finished) << "the list froze on a named pipe";
    EXPECT_EQ(reading.get(), TagColumns());
}
#endif

TEST_F(Columns, AgreeWithTheTagClassesOnEveryKindOfFile)
{
    const QByteArray picture =
        frame("APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray(20000, char(0xD8)));
    const QList<QByteArray> files = {
        audioFrame(),
        audioFrame() + id3v1("T", "A", 3),
        v3(frame("TIT2", QByteArray("\x01\xFF\xFEX\0\0\0", 7)) + frame("TPE1", QByteArray("\0A", 2))),
        id3v2(3, 30000, picture + frame("TIT2", QByteArray("\0After picture", 14))) + QByteArray(9000, '\0'),
        id3v2(4, 100, frame("TIT2", QByteArray("\x03Four", 5), true)) + QByteArray(100, '\0'),
        QByteArray(300, 'x') + "ID3\x07" + QByteArray(300, 'x') + id3v1("T", "A", 3),
    };
    // The columns show a tag's text up to its first NUL, without trailing blanks.
    const auto shown = [](const QString& text) {
        QString cut = text.left(text.indexOf(QChar(0)) >= 0 ? text.indexOf(QChar(0)) : text.size());
        while (!cut.isEmpty() && cut.back().isSpace())
            cut.chop(1);
        return cut;
    };
    for (const QByteArray& bytes : files) {
        const QString path = writeFile(dir.path(), QStringLiteral("k.mp3"), bytes);
        cMP3ID3v2 v2;
        v2.setMP3File(path);
        TagColumns expected;
        if (v2.HasID3v2Tag()) {
            const QString genres = v2.TagText(QStringLiteral("TCON"), v2.TagsInFrame(QStringLiteral("TCON")));
            expected = {v2.Title(), v2.Artist(),
                        ID3v2FrameText::genreColumn(genres.split(QChar(0), Qt::SkipEmptyParts))};
        }
        if (expected == TagColumns()) {
            cMP3ID3v1 v1;
            v1.setMP3File(path);
            if (v1.HasID3v1Tag())
                expected = {v1.Title(), v1.Artist(), v1.GenreName(v1.Genre())};
        }
        expected = {shown(expected.title), shown(expected.artist), shown(expected.genre)};
        EXPECT_EQ(readTagColumns(path), expected) << bytes.size();
    }
}

TEST(FileWindowReads, ServeEveryRangeExactlyAcrossWindowBorders)
{
    QByteArray data(10000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 7 + i / 256);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    FileWindow window(buffer, QStringLiteral("test"), 1024);
    const QList<QPair<qint64, qint64>> ranges = {{0, 3},      {0, 4096},   {1000, 50}, {4000, 3000},
                                                 {9990, 100}, {500, 9500}, {10000, 1}, {-1, 5}};
    for (const auto& [offset, length] : ranges) {
        const QByteArrayView got = window.read(offset, length);
        const qint64 expected = offset < 0 || offset >= data.size() ? 0 : qMin(length, data.size() - offset);
        ASSERT_EQ(got.size(), expected) << offset;
        if (expected > 0) {
            EXPECT_EQ(got, QByteArrayView(data).sliced(offset, expected)) << offset;
        }
    }
}

// A buffer that counts the reads that reach it.
class CountingBuffer : public QBuffer
{
public:
    using QBuffer::QBuffer;
    int reads = 0;

protected:
    qint64 readData(char* data, qint64 length) override
    {
        ++reads;
        return QBuffer::readData(data, length);
    }
};

// An untagged file with no frame start is searched to its end: the window reads further ahead
// the longer the walk goes on, yet still finds a marker across any chunk border, and each range
// it serves is the file's own bytes.
TEST(FileWindowReads, ForwardWalkFindsLateMarkersWithFewReads)
{
    QByteArray data(3 * 1024 * 1024 + 123, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char('a' + i % 23); // never 0xFF, so no chunk ends the search early
    for (const qint64 at :
         {qint64(0), qint64(4093 * 300 - 1), qint64(4093 * 700 - 2), qint64(data.size() - 3)}) {
        QByteArray bytes = data;
        if (at > 0)
            bytes.replace(at, 3, "ID3");
        CountingBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        FileWindow window(buffer, QStringLiteral("test"), 1024);
        EXPECT_EQ(ID3v2Locator::FindTag(window), at > 0 ? at + 4 : 0) << at;
        EXPECT_LT(buffer.reads, 40) << at;
    }
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    FileWindow window(buffer, QStringLiteral("test"), 1024);
    for (qint64 offset = 0; offset < data.size(); offset += 100000) {
        const QByteArrayView got = window.read(offset, 70000);
        ASSERT_EQ(got, QByteArrayView(data).sliced(offset, qMin<qint64>(70000, data.size() - offset)))
            << offset;
        // A read inside the current window is served from it, whatever came before.
        ASSERT_EQ(window.read(offset + 10, 5), QByteArrayView(data).sliced(offset + 10, 5)) << offset;
    }
}
