// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "AudioFixtures.h"
#include "audio/TagError.h"
#include "audio/cMP3ID3v1.h"
#include "core/CodePage.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace AudioFixtures;

namespace
{

class ID3v1 : public ::testing::Test
{
protected:
    QString write(const QByteArray& bytes) { return writeFile(dir.path(), QStringLiteral("t.mp3"), bytes); }
    QTemporaryDir dir;
    cMP3ID3v1 tag;
};

} // namespace

TEST_F(ID3v1, ReadsFieldsUntrimmed)
{
    tag.setMP3File(write(QByteArray(500, 'a') + id3v1("Song", "Band", 17, 5)));
    ASSERT_TRUE(tag.HasID3v1Tag());
    EXPECT_EQ(tag.Title().size(), 30);
    EXPECT_TRUE(tag.Title().startsWith(QStringLiteral("Song")));
    EXPECT_EQ(tag.Title().at(29), QChar(0));
    EXPECT_EQ(tag.Artist().left(4), QStringLiteral("Band"));
    EXPECT_EQ(tag.Track(), 5);
    EXPECT_EQ(tag.Genre(), 17);
    EXPECT_EQ(tag.GenreName(tag.Genre()), QStringLiteral("Rock"));
}

TEST_F(ID3v1, OlderLayoutCommentGivesTwentyEightBytesAndTrackFromTheThirtieth)
{
    QByteArray t = id3v1("T", "A", 0);
    t.replace(97, 30, QByteArray("0123456789012345678901234567") + '\0' + char(9));
    tag.setMP3File(write(QByteArray(200, 'a') + t));
    EXPECT_EQ(tag.Comment(), QStringLiteral("0123456789012345678901234567"));
    EXPECT_EQ(tag.Track(), 9);
}

TEST_F(ID3v1, ShortFilesLowerCaseMarkersAndDamagedTailsHaveNoTag)
{
    tag.setMP3File(write(id3v1("Song", "Band", 17)));
    EXPECT_FALSE(tag.HasID3v1Tag()) << "a file of exactly 128 bytes";
    QByteArray lower = QByteArray(10, 'a') + id3v1("Song", "Band", 17);
    lower.replace(10, 3, "tag");
    tag.setMP3File(write(lower));
    EXPECT_FALSE(tag.HasID3v1Tag());
    tag.setMP3File(write(QByteArray()));
    EXPECT_FALSE(tag.HasID3v1Tag());
    EXPECT_EQ(tag.Genre(), 255);
}

TEST_F(ID3v1, MissingFileRaisesWithTheClassSourceAndKeepsThePath)
{
    const QString path = dir.filePath(QStringLiteral("missing.mp3"));
    try {
        tag.setMP3File(path);
        FAIL() << "no error raised";
    } catch (const TagError& error) {
        EXPECT_TRUE(error.source().endsWith(QStringLiteral(".cMP3ID3v1")));
        EXPECT_NE(error.number(), 0);
    }
    EXPECT_EQ(tag.MP3File(), path);
    EXPECT_FALSE(tag.HasID3v1Tag());
}

TEST_F(ID3v1, UpdateAppendsATagOnceAndThenOverwritesIt)
{
    const QByteArray audio(1000, 'x');
    const QString path = write(audio);
    tag.setMP3File(path);
    tag.setTitle(QStringLiteral("0123456789012345678901234567890")); // 31 characters
    tag.setYear(QStringLiteral("199"));
    tag.setGenre(17);
    tag.Update();
    EXPECT_FALSE(tag.HasID3v1Tag()) << "not re-read";
    QByteArray bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 1128);
    EXPECT_EQ(bytes.left(1000), audio);
    EXPECT_EQ(bytes.mid(1003, 30), QByteArray("012345678901234567890123456789"));
    EXPECT_EQ(bytes.mid(1093, 4), QByteArray("199 "));
    EXPECT_EQ(bytes.mid(1033, 30), QByteArray(30, ' '));
    EXPECT_EQ(quint8(bytes[1127]), 17);

    tag.setMP3File(path);
    tag.setTitle(QStringLiteral("New"));
    tag.Update();
    bytes = readFile(path);
    EXPECT_EQ(bytes.size(), 1128);
    tag.setMP3File(path);
    EXPECT_EQ(tag.Title(), QStringLiteral("New") + QString(27, QLatin1Char(' ')));
}

TEST_F(ID3v1, UpdateRejectsAnEmptyFileAndIgnoresTinyOnes)
{
    const QString empty = write(QByteArray());
    tag.setMP3File(empty);
    try {
        tag.Update();
        FAIL() << "no error raised";
    } catch (const TagError& error) {
        EXPECT_EQ(error.number(), qint32(0x80041001u));
        EXPECT_EQ(error.description(), empty + QStringLiteral(" is not a valid MP3 file."));
    }
    EXPECT_EQ(QFile(empty).size(), 0);

    const QString tiny = writeFile(dir.path(), QStringLiteral("tiny.mp3"), QByteArray(100, 'x'));
    tag.setMP3File(tiny);
    tag.setTitle(QStringLiteral("x"));
    EXPECT_NO_THROW(tag.Update());
    EXPECT_EQ(QFile(tiny).size(), 100);
}

TEST_F(ID3v1, UpdateOfAFileThatIsGoneRaisesAndCreatesNothing)
{
    const QString path = write(QByteArray(300, 'x'));
    tag.setMP3File(path);
    ASSERT_TRUE(QFile::remove(path));
    try {
        tag.Update();
        FAIL() << "no error raised";
    } catch (const TagError& error) {
        EXPECT_TRUE(error.source().endsWith(QStringLiteral(".cMP3ID3v1")));
        EXPECT_NE(error.number(), TagError::NotValidMp3) << "an open failure, not an empty file";
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ID3v1, DoubleByteTextIsCutWithoutSplittingACharacter)
{
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    const QString path = write(QByteArray(300, 'x'));
    tag.setMP3File(path);
    tag.setTitle(QStringLiteral("a") + QString(15, QChar(0xAC00))); // 1 + 30 bytes
    tag.Update();
    const QByteArray title = readFile(path).mid(303, 30);
    CodePage::setCodePage("CP1252");
    EXPECT_EQ(title.back(), ' ') << "the 15th double-byte character does not fit and is left out whole";
    EXPECT_EQ(title.left(1), QByteArray("a"));
}
