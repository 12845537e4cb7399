// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "AudioFixtures.h"
#include "audio/TagError.h"
#include "audio/cMP3ID3v2.h"
#include "core/CodePage.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace AudioFixtures;

namespace
{

class ID3v2Read : public ::testing::Test
{
protected:
    cMP3ID3v2& read(const QByteArray& bytes)
    {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        tag.readTag(buffer);
        return tag;
    }
    QByteArray v3(const QByteArray& frames, quint32 size = 2048)
    {
        QByteArray t = id3v2(3, size, frames);
        t.resize(qMax<qsizetype>(t.size(), size), '\0');
        return t + audioFrame();
    }
    cMP3ID3v2 tag;
};

} // namespace

TEST_F(ID3v2Read, TextFramesFillTheirProperties)
{
    read(v3(frame("TIT2", QByteArray("\0Title", 6)) + frame("TPE1", QByteArray("\0Artist", 7)) +
            frame("TALB", QByteArray("\0Album", 6)) + frame("WOAR", "http://a.example") +
            frame("XYZW", QByteArray("\0other", 6))));
    EXPECT_TRUE(tag.HasID3v2Tag());
    EXPECT_EQ(tag.TagPosition(), 4);
    EXPECT_EQ(tag.ID3v2TagVersion(), 3);
    EXPECT_EQ(tag.Title(), QStringLiteral("Title"));
    EXPECT_EQ(tag.Artist(), QStringLiteral("Artist"));
    EXPECT_EQ(tag.Album(), QStringLiteral("Album"));
    EXPECT_EQ(tag.ArtistURL(), QStringLiteral("http://a.example"));
    EXPECT_EQ(tag.FrameCount(), 5);
    EXPECT_EQ(tag.Frame(5), QStringLiteral("XYZW"));
    EXPECT_EQ(tag.TagText(QStringLiteral("XYZW"), 1), QStringLiteral("other"));
    EXPECT_THROW(tag.Frame(6), TagError);
}

TEST_F(ID3v2Read, WithoutEncodingByteTheTextAfterTheLastNulIsTheValue)
{
    read(v3(frame("TIT2", QByteArray("Hello\0", 6))));
    EXPECT_TRUE(tag.Title().isEmpty());
    read(v3(frame("TIT2", QByteArray("Hello", 5))));
    EXPECT_EQ(tag.Title(), QStringLiteral("Hello"));
}

TEST_F(ID3v2Read, EncodingByteSelectsTheDecodingAndOneTerminatorIsIgnored)
{
    read(v3(frame("TIT2", QByteArray("\0Hello\0", 7))));
    EXPECT_EQ(tag.Title(), QStringLiteral("Hello"));
    read(v3(frame("TIT2", QByteArray("\x01\xFF\xFEH\0\xE9\0\0\0", 9))));
    EXPECT_EQ(tag.Title(), QStringLiteral("H\u00E9"));
    read(v3(frame("TIT2", QByteArray("\x01\xFE\xFF\0H\0\xE9", 7))));
    EXPECT_EQ(tag.Title(), QStringLiteral("H\u00E9"));
    read(v3(frame("TIT2", QByteArray("\x02\0H\0\xE9\0\0", 7))));
    EXPECT_EQ(tag.Title(), QStringLiteral("H\u00E9"));
    read(v3(frame("TIT2", QByteArray("\x03H\xC3\xA9\0", 5))));
    EXPECT_EQ(tag.Title(), QStringLiteral("H\u00E9"));
    read(v3(frame("TPE1", QByteArray("\x03One\0Two\0", 9))));
    EXPECT_EQ(tag.Artist(), QStringLiteral("Two")) << "of several values the last one";
}

TEST_F(ID3v2Read, CommentsSkipLanguageAndDescriptionAndAreJoined)
{
    read(v3(frame("COMM", QByteArray("\0engdesc\0Nice", 13)) + frame("COMM", QByteArray("\0eng\0More", 9))));
    EXPECT_EQ(tag.Comment(), QStringLiteral("Nice") + QChar(0) + QStringLiteral("\r\nMore"));
    EXPECT_EQ(tag.TagsInFrame(QStringLiteral("COMM")), 2);
    read(v3(frame("COMM", QByteArray("\x01"
                                     "eng\xFF\xFE"
                                     "d\0\0\0\xFF\xFEN\0o\0",
                                     16))));
    EXPECT_EQ(tag.Comment(), QStringLiteral("No"));
    read(v3(frame("WXXX", QByteArray("\x01\xFF\xFE"
                                     "d\0\0\0http://x",
                                     15))));
    EXPECT_EQ(tag.LinkTo(), QStringLiteral("http://x"));
}

TEST_F(ID3v2Read, ContentTypeGivesNumberAndName)
{
    const auto genreOf = [&](const QByteArray& value) {
        read(v3(frame("TCON", '\0' + value)));
        return std::pair(int(tag.Genre()), tag.OtherGenreName());
    };
    EXPECT_EQ(genreOf("(17)"), std::pair(17, QStringLiteral("Rock")));
    EXPECT_EQ(genreOf("(17)Rock music"), std::pair(17, QStringLiteral("Rock music")));
    EXPECT_EQ(genreOf("(17)X"), std::pair(17, QStringLiteral("Rock")));
    EXPECT_EQ(genreOf("Techno"), std::pair(255, QStringLiteral("Techno")));
    EXPECT_EQ(genreOf("(300)"), std::pair(255, QStringLiteral("(300)")));
    EXPECT_EQ(genreOf("a)b(1"), std::pair(255, QStringLiteral("a)b(1")));
}

TEST_F(ID3v2Read, RepeatedFramesKeepEveryTextAndTheLastWins)
{
    read(v3(frame("TIT2", QByteArray("\0A", 2)) + frame("TIT2", QByteArray("\0B", 2))));
    EXPECT_EQ(tag.Title(), QStringLiteral("B"));
    EXPECT_EQ(tag.FrameCount(), 1);
    EXPECT_EQ(tag.TagsInFrame(QStringLiteral("TIT2")), 2);
    EXPECT_EQ(tag.TagText(QStringLiteral("TIT2"), 1), QStringLiteral("A"));
    EXPECT_EQ(tag.TagText(QStringLiteral("TIT2"), 2), QStringLiteral("B"));
}

TEST_F(ID3v2Read, OtherVersionsAreFoundButNotParsed)
{
    // A version 2.2 tag holding a four-character frame: its header reads as a frame too large.
    read(id3v2(2, 100, frame("TIT2", QByteArray("\0A", 2))) + QByteArray(200, '\0'));
    EXPECT_TRUE(tag.HasID3v2Tag());
    EXPECT_EQ(tag.ID3v2TagVersion(), 2);
    EXPECT_EQ(tag.FrameCount(), 0);
    read(QByteArray(100, 'x') + "ID3\x07" + QByteArray(200, 'x'));
    EXPECT_TRUE(tag.HasID3v2Tag());
    EXPECT_EQ(tag.ID3v2TagVersion(), 7);
}

TEST_F(ID3v2Read, TagIsSearchedForBeforeTheAudio)
{
    const QByteArray tagBytes =
        id3v2(3, 100, frame("TIT2", QByteArray("\0Late", 5)) + frame("TPE1", QByteArray("\0Two", 4)));
    read(QByteArray(5000, 'x') + tagBytes + QByteArray(100, '\0'));
    EXPECT_EQ(tag.TagPosition(), 5004);
    EXPECT_EQ(tag.Title(), QStringLiteral("Late"));
    EXPECT_EQ(tag.Artist(), QStringLiteral("Two")) << "frames after the first are read wherever the tag lies";
    read(QByteArray(4094, 'x') + tagBytes + QByteArray(100, '\0'));
    EXPECT_EQ(tag.TagPosition(), 4098) << "ID3 across the first chunk border";
    for (const char* sync : {"\xFF\xFB", "\xFF\xFA", "\xFF\xF3", "\xFF\xF2"}) {
        read(QByteArray(100, 'x') + QByteArray(sync, 2) + QByteArray(5000, 'x') + tagBytes);
        EXPECT_FALSE(tag.HasID3v2Tag()) << "an ID3 after the audio started";
    }
}

TEST_F(ID3v2Read, Version4FrameSizesAreSyncsafe)
{
    const QByteArray picture =
        frame("APIC", QByteArray("\0image/png\0\x03\0", 13) + QByteArray(300, char(0x89)), true);
    QByteArray t = id3v2(4, syncsafe(1000), picture + frame("TIT2", QByteArray("\x03Title", 6), true));
    t.resize(1010, '\0');
    read(t + audioFrame());
    EXPECT_EQ(tag.Title(), QStringLiteral("Title"));
    EXPECT_EQ(tag.FrameCount(), 2);
}

TEST_F(ID3v2Read, BrokenFramesEndTheLoopQuietly)
{
    // A frame larger than the tag, a zero size, a frame cut off by the end of the file, and an
    // audio frame right after a tag without padding.
    read(v3(frame("TIT2", QByteArray("\0A", 2)) + frame("TPE1", QByteArray(3000, 'x')), 2048));
    EXPECT_EQ(tag.FrameCount(), 1);
    read(v3(frame("TIT2", QByteArray("\0A", 2)) + frame("TPE1", QByteArray())));
    EXPECT_EQ(tag.FrameCount(), 1);
    read(id3v2(3, 100000,
               frame("TIT2", QByteArray("\0A", 2)) + frame("TPE1", QByteArray(5000, 'x')).left(200)));
    EXPECT_EQ(tag.FrameCount(), 1);
    read(id3v2(3, 1000, frame("TIT2", QByteArray("\0A", 2))) + audioFrame() + audioFrame());
    EXPECT_EQ(tag.FrameCount(), 1);
    for (int cut = 0; cut < 30; ++cut) {
        read(id3v2(3, 2048, frame("TIT2", QByteArray("\0Abc", 4))).left(cut));
        EXPECT_LE(tag.FrameCount(), 1);
    }
}

TEST_F(ID3v2Read, DoubleBytePairsCanHideANul)
{
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    read(v3(frame("TIT2", QByteArray("\xB0\0\xB0\xA1", 4))));
    const QString title = tag.Title();
    CodePage::setCodePage("CP1252");
    EXPECT_EQ(title.size(), 2) << "0xB0 takes the zero byte with it, so there is no NUL";
    EXPECT_EQ(title.at(1), QChar(0xAC00));
}

TEST_F(ID3v2Read, AssigningAnotherFileClearsEverything)
{
    QTemporaryDir dir;
    const QString first =
        writeFile(dir.path(), QStringLiteral("1.mp3"),
                  v3(frame("USLT", QByteArray("\0eng\0Words", 10)) + frame("TCON", QByteArray("\0(17)", 5))));
    const QString second = writeFile(dir.path(), QStringLiteral("2.mp3"), audioFrame());
    tag.setMP3File(first);
    EXPECT_EQ(tag.Lyrics(), QStringLiteral("Words"));
    tag.setMP3File(second);
    EXPECT_FALSE(tag.HasID3v2Tag());
    EXPECT_TRUE(tag.Lyrics().isEmpty());
    EXPECT_EQ(tag.Genre(), 255);
    EXPECT_EQ(tag.FrameCount(), 0);
    EXPECT_THROW(tag.setMP3File(dir.filePath(QStringLiteral("missing.mp3"))), TagError);
    EXPECT_EQ(tag.MP3File(), dir.filePath(QStringLiteral("missing.mp3")));
}

TEST_F(ID3v2Read, DescribedFramesWithAnEmptyTextShowNeitherLanguageNorDescription)
{
    // The NUL at the end of these frames ends the description: there is no text after it.
    read(v3(frame("COMM", QByteArray("\0engdesc\0", 9))));
    EXPECT_TRUE(tag.Comment().isEmpty()) << qPrintable(tag.Comment());
    read(v3(frame("COMM", QByteArray("\0eng\0", 5))));
    EXPECT_TRUE(tag.Comment().isEmpty()) << qPrintable(tag.Comment());
    read(v3(frame("USLT", QByteArray("\x03"
                                     "engdesc\0",
                                     9))));
    EXPECT_TRUE(tag.Lyrics().isEmpty()) << qPrintable(tag.Lyrics());
    read(v3(frame("COMM", QByteArray("\x01"
                                     "eng\xFF\xFE"
                                     "d\0\0\0",
                                     10))));
    EXPECT_TRUE(tag.Comment().isEmpty()) << qPrintable(tag.Comment());
    read(v3(frame("WXXX", QByteArray("\0desc\0", 6))));
    EXPECT_TRUE(tag.LinkTo().isEmpty()) << qPrintable(tag.LinkTo());
    // A text of its own that is terminated still loses only its terminator.
    read(v3(frame("COMM", QByteArray("\0engdesc\0Nice\0", 14))));
    EXPECT_EQ(tag.Comment(), QStringLiteral("Nice"));
    read(v3(frame("USLT", QByteArray("\x01"
                                     "eng\xFF\xFE\0\0\xFF\xFEW\0\0\0",
                                     14))));
    EXPECT_EQ(tag.Lyrics(), QStringLiteral("W"));
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    read(v3(frame("COMM", QByteArray("\0eng\xB0\xA1\0", 7))));
    const QString descriptionOnly = tag.Comment();
    read(v3(frame("COMM", QByteArray("\0eng\0\xB0\xA1\0", 8))));
    const QString terminatedText = tag.Comment();
    CodePage::setCodePage("CP1252");
    EXPECT_TRUE(descriptionOnly.isEmpty());
    EXPECT_EQ(terminatedText, QString(QChar(0xAC00)));
}

namespace
{

// Data whose bytes from `limit` on cannot be read, like a file on a failing disk.
class FailingDevice : public QBuffer
{
public:
    FailingDevice(QByteArray* bytes, qint64 limit) : QBuffer(bytes), m_limit(limit) {}

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        return pos() >= m_limit ? -1 : QBuffer::readData(data, qMin(maxSize, m_limit - pos()));
    }

private:
    qint64 m_limit;
};

} // namespace

TEST_F(ID3v2Read, ReadErrorKeepsTheVersionAndTheFramesReadBeforeIt)
{
    QByteArray bytes =
        id3v2(3, 100000, frame("TIT2", QByteArray("\0A", 2)) + frame("TPE1", QByteArray(6000, 'x'))) +
        QByteArray(1000, '\0');
    FailingDevice device(&bytes, 4096);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    EXPECT_THROW(tag.readTag(device), TagError);
    EXPECT_TRUE(tag.HasID3v2Tag());
    EXPECT_EQ(tag.ID3v2TagVersion(), 3);
    EXPECT_EQ(tag.Title(), QStringLiteral("A"));
}
