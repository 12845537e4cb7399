// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "AudioFixtures.h"
#include "audio/ID3v2TagWriter.h"
#include "audio/TagError.h"
#include "audio/cMP3ID3v2.h"
#include "core/CodePage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace AudioFixtures;

namespace
{

class ID3v2Write : public ::testing::Test
{
protected:
    QString write(const QByteArray& bytes) { return writeFile(dir.path(), QStringLiteral("t.mp3"), bytes); }
    quint32 sizeField(const QByteArray& file)
    {
        return quint32(quint8(file[6])) << 24 | quint32(quint8(file[7])) << 16 |
               quint32(quint8(file[8])) << 8 | quint8(file[9]);
    }
    QTemporaryDir dir;
    cMP3ID3v2 tag;
    const QByteArray audio = audioFrame() + audioFrame();
};

} // namespace

TEST_F(ID3v2Write, FileWithoutTagGetsARoomOf2048AtItsStart)
{
    const QString path = write(audio);
    tag.setMP3File(path);
    tag.setTitle(QStringLiteral("Song"));
    tag.Update();
    const QByteArray bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 2048 + audio.size());
    EXPECT_EQ(bytes.left(6), QByteArray("ID3\x03\0\0", 6));
    EXPECT_EQ(sizeField(bytes), 2048u);
    EXPECT_EQ(bytes.mid(10, 15), frame("TIT2", QByteArray("\0Song", 5)));
    EXPECT_EQ(bytes.mid(25, 4), QByteArray(4, '\0'));
    EXPECT_EQ(bytes.mid(2048), audio);
    EXPECT_FALSE(tag.HasID3v2Tag()) << "the model is not re-read";

    cMP3ID3v2 again;
    again.setMP3File(path);
    EXPECT_EQ(again.Title(), QStringLiteral("Song"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary file is left";
}

TEST_F(ID3v2Write, RoomIsTheNextMultipleOf2048AboveTheImage)
{
    EXPECT_EQ(ID3v2TagWriter::roomFor(29), 2048);
    EXPECT_EQ(ID3v2TagWriter::roomFor(2047), 2048);
    EXPECT_EQ(ID3v2TagWriter::roomFor(2048), 4096);
}

TEST_F(ID3v2Write, SmallerImageIsWrittenInPlace)
{
    tag.setMP3File(write(audio));
    tag.setTitle(QStringLiteral("First"));
    tag.setLyrics(QString(500, QLatin1Char('l')));
    tag.Update();
    tag.setMP3File(tag.MP3File());
    tag.RemoveFrame(QStringLiteral("USLT"));
    tag.setArtist(QStringLiteral("Band"));
    tag.Update();
    const QByteArray bytes = readFile(tag.MP3File());
    EXPECT_EQ(bytes.size(), 2048 + audio.size());
    EXPECT_EQ(sizeField(bytes), 2048u);
    cMP3ID3v2 again;
    again.setMP3File(tag.MP3File());
    EXPECT_EQ(again.Title(), QStringLiteral("First"));
    EXPECT_EQ(again.Artist(), QStringLiteral("Band"));
    EXPECT_TRUE(again.Lyrics().isEmpty());
}

TEST_F(ID3v2Write, SyncsafeTagOfOtherTaggersIsNeverOverrun)
{
    // Another tagger's tag: syncsafe size 1000 (1010 bytes in all), directly followed by audio.
    QByteArray other = id3v2(3, syncsafe(1000), frame("TIT2", QByteArray("\0Old", 4)));
    other.resize(1010, '\0');
    const QString path = write(other + audio);
    tag.setMP3File(path);
    tag.setLyrics(
        QString(1500, QLatin1Char('l'))); // more than the 1010 bytes, less than the plain reading 1896
    tag.Update();
    const QByteArray bytes = readFile(path);
    EXPECT_TRUE(bytes.endsWith(audio)) << "the audio is intact";
    EXPECT_EQ(bytes.size(), 2048 + audio.size());
    cMP3ID3v2 again;
    again.setMP3File(path);
    EXPECT_EQ(again.Title(), QStringLiteral("Old"));
    EXPECT_EQ(again.Lyrics().size(), 1500);
}

TEST_F(ID3v2Write, LargerImageRebuildsTheFileWithANewRoom)
{
    tag.setMP3File(write(audio));
    tag.setTitle(QStringLiteral("x"));
    tag.Update();
    tag.setMP3File(tag.MP3File());
    tag.setLyrics(QString(3000, QLatin1Char('l')));
    tag.Update();
    const QByteArray bytes = readFile(tag.MP3File());
    EXPECT_EQ(sizeField(bytes), 4096u);
    EXPECT_TRUE(bytes.endsWith(audio));
    tag.setMP3File(tag.MP3File());
    EXPECT_EQ(tag.Lyrics().size(), 3000);
    EXPECT_EQ(tag.Title(), QStringLiteral("x"));
}

TEST_F(ID3v2Write, TagInsideTheFileKeepsTheDataBeforeIt)
{
    const QByteArray before(3000, 'b');
    QByteArray old = id3v2(3, 1600, frame("TIT2", QByteArray("\0Old", 4)));
    old.resize(1600, '\0');
    const QString path = write(before + old + audio);
    tag.setMP3File(path);
    tag.setLyrics(QString(1700, QLatin1Char('l')));
    tag.Update();
    const QByteArray bytes = readFile(path);
    EXPECT_EQ(bytes.mid(2048, 3000), before);
}

TEST_F(ID3v2Write, SettersReplaceTheirFrameAndMoveItToTheEnd)
{
    tag.setTitle(QStringLiteral("A"));
    tag.setArtist(QStringLiteral("B"));
    tag.setTitle(QStringLiteral("C"));
    EXPECT_EQ(tag.FrameCount(), 2);
    EXPECT_EQ(tag.Frame(2), QStringLiteral("TIT2"));
    EXPECT_EQ(tag.TagText(QStringLiteral("TIT2"), 1), QStringLiteral("C"));
    tag.setOtherGenreName(QStringLiteral("Jazz"));
    EXPECT_EQ(tag.TagText(QStringLiteral("TCON"), 1), QStringLiteral("(255)Jazz"));
    tag.setOtherGenreName(QStringLiteral("Rock"));
    tag.setGenre(17);
    EXPECT_EQ(tag.TagText(QStringLiteral("TCON"), 1), QStringLiteral("(17)Rock"));
    tag.setComment(QStringLiteral("Hi"));
    EXPECT_EQ(tag.TagText(QStringLiteral("COMM"), 1),
              QChar(0) + QStringLiteral("nt") + QChar(0) + QStringLiteral("Hi"));
    tag.setLinkTo(QStringLiteral("http://x"));
    EXPECT_EQ(tag.TagText(QStringLiteral("WXXX"), 1), QChar(0) + QStringLiteral("http://x"));
}

TEST_F(ID3v2Write, WrittenCommentsLinksAndLyricsReadBack)
{
    tag.setMP3File(write(audio));
    tag.setComment(QStringLiteral("Nice"));
    tag.setLinkTo(QStringLiteral("http://x"));
    tag.setLyrics(QStringLiteral("Words"));
    tag.setGenre(17);
    tag.Update();
    cMP3ID3v2 again;
    again.setMP3File(tag.MP3File());
    EXPECT_EQ(again.Comment(), QStringLiteral("Nice"));
    EXPECT_EQ(again.LinkTo(), QStringLiteral("http://x"));
    EXPECT_EQ(again.Lyrics(), QStringLiteral("Words"));
    EXPECT_EQ(again.Genre(), 17);
}

TEST_F(ID3v2Write, EmptyCommentLinkAndLyricsReadBackEmpty)
{
    tag.setMP3File(write(audio));
    tag.setComment(QString());
    tag.setLinkTo(QString());
    tag.setLyrics(QString());
    tag.Update();
    cMP3ID3v2 again;
    again.setMP3File(tag.MP3File());
    EXPECT_TRUE(again.Comment().isEmpty()) << qPrintable(again.Comment());
    EXPECT_TRUE(again.LinkTo().isEmpty()) << qPrintable(again.LinkTo());
    EXPECT_TRUE(again.Lyrics().isEmpty()) << qPrintable(again.Lyrics());
}

TEST_F(ID3v2Write, RemoveTagRenumbersAndRemovesEmptyFrames)
{
    for (const char* text : {"1", "2", "3"})
        tag.AddTag(QStringLiteral("TXXX"), QString::fromLatin1(text));
    tag.RemoveTag(QStringLiteral("TXXX"), 1);
    EXPECT_EQ(tag.TagsInFrame(QStringLiteral("TXXX")), 2);
    EXPECT_EQ(tag.TagText(QStringLiteral("TXXX"), 1), QStringLiteral("2"));
    EXPECT_EQ(tag.TagText(QStringLiteral("TXXX"), 2), QStringLiteral("3"));
    EXPECT_TRUE(tag.TagText(QStringLiteral("TXXX"), 3).isEmpty());
    tag.AddTag(QStringLiteral("TIT2"), QStringLiteral("only"));
    tag.RemoveTag(QStringLiteral("TIT2"), 1);
    EXPECT_EQ(tag.FrameCount(), 1);
    EXPECT_EQ(tag.TagsInFrame(QStringLiteral("TIT2")), 0);
}

TEST_F(ID3v2Write, RemovingAbsentFramesRaisesAndChangesNothing)
{
    tag.AddTag(QStringLiteral("TIT2"), QStringLiteral("x"));
    EXPECT_THROW(tag.RemoveTag(QStringLiteral("TPE1"), 1), TagError);
    EXPECT_THROW(tag.RemoveTag(QStringLiteral("TIT2"), 2), TagError);
    EXPECT_THROW(tag.RemoveFrame(QStringLiteral("TPE1")), TagError);
    EXPECT_THROW(tag.RemoveFrame(2), TagError);
    try {
        tag.RemoveFrame(QStringLiteral("TPE1"));
    } catch (const TagError& error) {
        EXPECT_TRUE(error.source().endsWith(QStringLiteral(".cMP3ID3v2")));
    }
    EXPECT_EQ(tag.FrameCount(), 1);
    tag.RemoveFrame(1);
    EXPECT_EQ(tag.FrameCount(), 0);
}

TEST_F(ID3v2Write, IdentifiersHoldingID3AreNotWritten)
{
    tag.AddTag(QStringLiteral("ID3X"), QStringLiteral("skip"));
    tag.AddTag(QStringLiteral("TIT2"), QStringLiteral("keep"));
    const QByteArray image = ID3v2TagWriter::image(tag.framesToWrite());
    EXPECT_FALSE(image.mid(3).contains("ID3"));
    EXPECT_EQ(image.size(), 10 + 15 + 4);
}

TEST_F(ID3v2Write, DoubleByteTextSizesCountBytes)
{
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    const QByteArray image = ID3v2TagWriter::image({{QStringLiteral("TIT2"), QString(2, QChar(0xAC00))}});
    CodePage::setCodePage("CP1252");
    EXPECT_EQ(image.mid(10, 8), QByteArray("TIT2\0\0\0\x05", 8));
}

TEST_F(ID3v2Write, FailuresLeaveTheFileUnchanged)
{
    const QString path = write(audio);
    tag.setMP3File(path);
    tag.AddTag(QStringLiteral("AB"), QStringLiteral("too short an identifier"));
    EXPECT_THROW(tag.Update(), TagError);
    EXPECT_EQ(readFile(path), audio);
}

TEST_F(ID3v2Write, UpdateOfAFileThatIsGoneRaisesAndCreatesNothing)
{
    const QString path = write(audio);
    tag.setMP3File(path);
    tag.setTitle(QStringLiteral("Song"));
    ASSERT_TRUE(QFile::remove(path));
    try {
        tag.Update();
        FAIL() << "no error raised";
    } catch (const TagError& error) {
        EXPECT_TRUE(error.source().endsWith(QStringLiteral(".cMP3ID3v2")));
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ID3v2Write, RebuildThatCannotWriteLeavesTheFileAndNoTemporaryFile)
{
    // A folder nobody may write to: the rebuild cannot place its temporary file.
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QDir().mkpath(locked);
    const QString inside = writeFile(locked, QStringLiteral("t.mp3"), audio);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    cMP3ID3v2 other;
    other.setMP3File(inside);
    other.setTitle(QStringLiteral("x"));
    if (QFile(QDir(locked).filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly))
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_THROW(other.Update(), TagError);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(readFile(inside), audio);
    EXPECT_EQ(QDir(locked).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ID3v2Write, RebuildKeepsPermissionsAndLinks)
{
    const QString path = write(audio);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QString link = dir.filePath(QStringLiteral("link.mp3"));
    ASSERT_TRUE(QFile::link(path, link));
    tag.setMP3File(link);
    tag.setTitle(QStringLiteral("Linked"));
    tag.Update();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFile::permissions(path) & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    cMP3ID3v2 again;
    again.setMP3File(path);
    EXPECT_EQ(again.Title(), QStringLiteral("Linked"));
}
