// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Tags as the taggers of many years wrote them, byte for byte: read into the tag model, shown in
// the list's columns and printed by zvdctl tags; and the damaged forms of each.
#include "AudioFixtures.h"
#include "TestEnvironment.h"
#include "audio/TagColumns.h"
#include "audio/cMP3ID3v2.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace AudioFixtures;

namespace
{

// Text-encoding byte 1: UTF-16 with a little-endian byte-order mark.
QByteArray utf16(const QString& text)
{
    QByteArray bytes("\x01\xFF\xFE", 3);
    for (const QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

QByteArray latin1(const QByteArray& text)
{
    return '\0' + text;
}

QByteArray be32(quint32 value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char(value >> shift & 0xFF));
    return bytes;
}

// A tag of the given version and flags around body, with room for padding, then audio.
QByteArray tagged(int version, int flags, const QByteArray& body, const QByteArray& after = audioFrame())
{
    QByteArray padded = body + QByteArray(64, '\0');
    return id3v2Flags(version, flags, syncsafe(quint32(padded.size())), padded) + after;
}

class TagVariants : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zvdctl = QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdctl"));
        if (!QFile::exists(zvdctl))
            GTEST_SKIP() << "zvdctl is not built";
    }

    // Reads bytes as a file into the model and returns the list's columns for it.
    TagColumns read(const QByteArray& bytes)
    {
        path = writeFile(dir.path(), QStringLiteral("v%1.mp3").arg(++count), bytes);
        model.setMP3File(path);
        return readTagColumns(path);
    }

    // zvdctl tags of the file read last.
    QJsonObject tags()
    {
        QProcess process;
        process.start(zvdctl, {QStringLiteral("tags"), path});
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    }

    // zvdctl's columns agree with the list's.
    void expectZvdctlShows(const TagColumns& columns)
    {
        const QJsonObject shown = tags()[QStringLiteral("columns")].toObject();
        EXPECT_EQ(shown[QStringLiteral("title")].toString(), columns.title);
        EXPECT_EQ(shown[QStringLiteral("artist")].toString(), columns.artist);
        EXPECT_EQ(shown[QStringLiteral("genre")].toString(), columns.genre);
    }

    QTemporaryDir dir;
    QString zvdctl;
    QString path;
    cMP3ID3v2 model;
    int count = 0;
};

const QString babe = QStringLiteral("My babe just cares for me");

} // namespace

TEST_F(TagVariants, UnsynchronisedVersion3TagIsResynchronisedFirst)
{
    // The byte-order mark FF FE is stored as FF 00 FE: read as it stands, the UTF-16 is shifted.
    const QByteArray frames = frame("TIT2", utf16(babe)) + frame("TPE1", latin1("B\xFF\xE0nd"));
    const TagColumns columns = read(tagged(3, 0x80, unsynchronise(frames)));
    EXPECT_EQ(columns, (TagColumns{babe, QStringLiteral("B\u00FF\u00E0nd"), QString()}));
    EXPECT_EQ(model.Title(), babe);
    expectZvdctlShows(columns);
    EXPECT_EQ(tags()[QStringLiteral("id3v2")].toObject()[QStringLiteral("title")].toString(), babe);

    // Version 2.2 tags are unsynchronised the same way.
    EXPECT_EQ(read(tagged(2, 0x80, unsynchronise(frame22("TT2", utf16(babe))))).title, babe);
}

TEST_F(TagVariants, UnsynchronisationAtTheTagsLastByteStaysInsideTheTag)
{
    // The tag ends with 0xFF and its stuffing zero is missing; a zero byte follows the tag.
    QByteArray body = unsynchronise(frame("TIT2", latin1("Hi")) + frame("TPE1", latin1("Band\xFF")));
    ASSERT_TRUE(body.endsWith(QByteArray("\xFF\0", 2)));
    body.chop(1);
    const QByteArray file =
        id3v2Flags(3, 0x80, syncsafe(quint32(body.size())), body) + QByteArray(1, '\0') + audioFrame();
    EXPECT_EQ(read(file), (TagColumns{QStringLiteral("Hi"), QStringLiteral("Band\u00FF"), QString()}));
    // A last frame that claims one byte more than the tag holds ends the walk; the rest stays.
    QByteArray cut = unsynchronise(frame("TIT2", latin1("Hi")) + frame("TPE1", latin1("Band\xFF") + 'x'));
    cut.chop(2);
    EXPECT_EQ(read(id3v2Flags(3, 0x80, syncsafe(quint32(cut.size())), cut) + audioFrame()).title,
              QStringLiteral("Hi"));
    EXPECT_TRUE(model.Artist().isEmpty());
    // Nothing but a lone 0xFF.
    read(id3v2Flags(3, 0x80, 1, QByteArray("\xFF", 1)));
    EXPECT_EQ(model.FrameCount(), 0);
}

TEST_F(TagVariants, Version4FrameUnsynchronisationAndDataLengthIndicator)
{
    const QByteArray hi = utf16(QStringLiteral("Hi"));
    const QByteArray withLength = be32(quint32(hi.size())) + unsynchronise(hi);
    TagColumns columns =
        read(tagged(4, 0, frame24("TIT2", withLength, 0x03) + frame24("TPE1", latin1("Band"))));
    EXPECT_EQ(columns, (TagColumns{QStringLiteral("Hi"), QStringLiteral("Band"), QString()}));
    expectZvdctlShows(columns);
    // The tag-wide flag unsynchronises every frame, whatever the frame's own flags say.
    columns = read(tagged(
        4, 0x80, frame24("TIT2", unsynchronise(hi)) + frame24("TPE1", unsynchronise(latin1("\xFF\xFF")))));
    EXPECT_EQ(columns, (TagColumns{QStringLiteral("Hi"), QStringLiteral("\u00FF\u00FF"), QString()}));
    // Grouping byte before the data.
    EXPECT_EQ(read(tagged(4, 0, frame24("TIT2", "\x07" + latin1("Grouped"), 0x40))).title,
              QStringLiteral("Grouped"));

    // Damaged: a length indicator in a frame too short for it, a frame ending in a lone 0xFF,
    // encrypted data (unreadable, so empty) and compressed data.
    columns = read(tagged(
        4, 0,
        frame24("TIT2", QByteArray(2, '\0'), 0x01) + frame24("TPE1", latin1("Hi\xFF"), 0x02) +
            frame24("TCON", "\x01" + latin1("Rock"), 0x04) + frame24("TALB", be32(10) + "garbage", 0x09)));
    EXPECT_EQ(columns, (TagColumns{QString(), QStringLiteral("Hi\u00FF"), QString()}));
    EXPECT_EQ(model.FrameCount(), 4);
    EXPECT_TRUE(model.Album().isEmpty());
    // Compressed data stays unread, however small it claims to inflate.
    const QByteArray packed = qCompress(latin1("Packed")).mid(4);
    EXPECT_TRUE(read(tagged(4, 0, frame24("TIT2", be32(7) + packed, 0x09))).title.isEmpty());
    QByteArray compressed3 = frame("TIT2", be32(7) + packed) + frame("TPE1", latin1("Band"));
    compressed3[9] = char(0x80);
    EXPECT_EQ(read(tagged(3, 0, compressed3)), (TagColumns{QString(), QStringLiteral("Band"), QString()}));
}

TEST_F(TagVariants, ExtendedHeadersAreSkippedByTheirOwnSize)
{
    const QByteArray frames = frame("TIT2", latin1("Title")) + frame("TPE1", latin1("Band"));
    const TagColumns expected{QStringLiteral("Title"), QStringLiteral("Band"), QString()};
    // Version 2.3: a plain size that counts the bytes after it (6, or 10 with a CRC).
    EXPECT_EQ(read(tagged(3, 0x40, be32(6) + QByteArray(6, '\0') + frames)), expected);
    EXPECT_EQ(read(tagged(3, 0x40, be32(10) + QByteArray("\x80\0\0\0\0\0\x12\x34\x56\x78", 10) + frames)),
              expected);
    expectZvdctlShows(expected);
    // ... and, in an unsynchronised tag, unsynchronised with the rest.
    EXPECT_EQ(
        read(tagged(3, 0xC0,
                    unsynchronise(be32(10) + QByteArray("\x80\0\0\0\0\0\xFF\xFF\xFF\xFF", 10) + frames))),
        expected);
    // Version 2.4: a syncsafe size of the whole extended header.
    const QByteArray frames4 = frame24("TIT2", latin1("Title")) + frame24("TPE1", latin1("Band"));
    EXPECT_EQ(read(tagged(4, 0x40, QByteArray("\0\0\0\x06\x01\0", 6) + frames4)), expected);
    EXPECT_EQ(read(tagged(4, 0x40, QByteArray("\0\0\0\x0C\x01\x20\x05\x01\x02\x03\x04\x05", 12) + frames4)),
              expected);
}

TEST_F(TagVariants, ExtendedHeaderThatOverrunsTheTagLeavesTheColumnsToVersion1)
{
    const QByteArray v1 = id3v1("V1 title", "V1 band", 17);
    const QByteArray frames = frame("TIT2", latin1("Title"));
    for (const QByteArray& file :
         {tagged(3, 0x40, be32(0x7FFFFFF0) + frames, audioFrame() + v1),
          tagged(4, 0x40, QByteArray("\x7F\x7F\x7F\x7F\x01\0", 6) + frames, audioFrame() + v1),
          tagged(4, 0x40, QByteArray("\0\0\0\0", 4) + frames, audioFrame() + v1)}) {
        const TagColumns columns = read(file);
        EXPECT_TRUE(model.HasID3v2Tag());
        EXPECT_EQ(model.FrameCount(), 0);
        EXPECT_EQ(columns.title.left(8), QStringLiteral("V1 title"));
        EXPECT_EQ(columns.genre, QStringLiteral("Rock"));
    }
    expectZvdctlShows(readTagColumns(path));
}

TEST_F(TagVariants, Version22FramesFillTheSameProperties)
{
    const QByteArray body = frame22("TT2", latin1("Old Title")) +
                            frame22("TP1", utf16(QStringLiteral("Old B\u00E4nd"))) +
                            frame22("TAL", latin1("Album")) + frame22("TCO", latin1("(17)")) +
                            frame22("COM", QByteArray("\0engdesc\0Nice", 13)) + frame22("TRK", latin1("3")) +
                            frame22("TYE", latin1("2001")) + frame22("TXX", QByteArray("\0desc\0", 6)) +
                            frame22("XYZ", latin1("other"));
    const TagColumns columns = read(tagged(2, 0, body));
    const TagColumns expected{QStringLiteral("Old Title"), QStringLiteral("Old B\u00E4nd"),
                              QStringLiteral("Rock")};
    EXPECT_EQ(columns, expected);
    EXPECT_EQ(model.ID3v2TagVersion(), 2);
    EXPECT_EQ(model.Album(), QStringLiteral("Album"));
    EXPECT_EQ(model.Comment(), QStringLiteral("Nice"));
    EXPECT_EQ(model.Track(), QStringLiteral("3"));
    EXPECT_EQ(model.Year(), QStringLiteral("2001"));
    EXPECT_EQ(model.Genre(), 17);
    EXPECT_EQ(model.Frame(1), QStringLiteral("TIT2"));
    EXPECT_EQ(model.Frame(9), QStringLiteral("XYZ")) << "an identifier without a later name stays as it is";
    EXPECT_EQ(model.TagText(QStringLiteral("XYZ"), 1), QStringLiteral("other"));
    expectZvdctlShows(expected);
    const QJsonObject v2 = tags()[QStringLiteral("id3v2")].toObject();
    EXPECT_EQ(v2[QStringLiteral("version")].toInt(), 2);
    EXPECT_EQ(v2[QStringLiteral("frames")].toArray().at(1).toObject()[QStringLiteral("id")].toString(),
              QStringLiteral("TPE1"));
}

TEST_F(TagVariants, DamagedVersion22TagsEndQuietly)
{
    // A frame larger than the tag, one cut off by the end of the file, a three-byte tag body.
    EXPECT_EQ(
        read(tagged(2, 0, frame22("TT2", latin1("Kept")) + frame22("TP1", latin1("Lost"), 0xFFFFFF))).title,
        QStringLiteral("Kept"));
    EXPECT_EQ(model.FrameCount(), 1);
    read(id3v2(2, 5000, frame22("TT2", latin1("Kept")) + frame22("TP1", latin1("Lost"), 4000)));
    EXPECT_EQ(model.Title(), QStringLiteral("Kept"));
    EXPECT_TRUE(model.Artist().isEmpty());
    for (int cut = 0; cut < 24; ++cut)
        EXPECT_NO_THROW(read(id3v2(2, 100, frame22("TT2", latin1("Abcdefg"))).left(cut)));
    // A compressed version 2.2 tag cannot be read: the version 1 tag fills the columns.
    const TagColumns columns =
        read(tagged(2, 0x40, frame22("TT2", latin1("Packed")), audioFrame() + id3v1("V1", "B", 17)));
    EXPECT_EQ(model.FrameCount(), 0);
    EXPECT_EQ(columns.title.left(2), QStringLiteral("V1"));
}

TEST_F(TagVariants, Version4GenresByNumberAndSeveralGenres)
{
    const auto genreOf = [&](const QByteArray& data) {
        return read(tagged(4, 0, frame24("TCON", data))).genre;
    };
    EXPECT_EQ(genreOf("\x03"
                      "35"),
              QStringLiteral("House"));
    EXPECT_EQ(model.Genre(), 35);
    EXPECT_EQ(model.OtherGenreName(), QStringLiteral("House"));
    EXPECT_EQ(genreOf(QByteArray("\x03Rock\0Pop", 9)), QStringLiteral("Rock / Pop"));
    EXPECT_EQ(model.Genre(), 255);
    EXPECT_EQ(model.OtherGenreName(), QStringLiteral("Rock / Pop"));
    EXPECT_EQ(genreOf(QByteArray("\x03"
                                 "13\0Techno\0",
                                 11)),
              QStringLiteral("Pop / Techno"));
    EXPECT_EQ(model.Genre(), 13);
    EXPECT_EQ(
        genreOf(utf16(QStringLiteral("Rock")) + QByteArray(2, '\0') + utf16(QStringLiteral("Pop")).mid(1)),
        QStringLiteral("Rock / Pop"));
    EXPECT_EQ(genreOf(QByteArray("\0(17)\0"
                                 "35",
                                 8)),
              QStringLiteral("Rock / House"));
    // The "(n)" form is read as before; digits beyond 255 are a name.
    EXPECT_EQ(genreOf(latin1("(17)Rock music")), QStringLiteral("Rock"));
    EXPECT_EQ(model.OtherGenreName(), QStringLiteral("Rock music"));
    EXPECT_EQ(genreOf(latin1("300")), QStringLiteral("300"));
    EXPECT_EQ(model.Genre(), 255);
    expectZvdctlShows(readTagColumns(path));
    read(tagged(4, 0,
                frame24("TCON", QByteArray("\x03"
                                           "35\0Pop",
                                           7))));
    expectZvdctlShows({QString(), QString(), QStringLiteral("House / Pop")});
}

TEST_F(TagVariants, Version4TagWithPlainFrameSizesAfterALargePicture)
{
    const QByteArray texts = frame("TIT2", latin1("After picture")) + frame("TPE1", latin1("Band"));
    const TagColumns expected{QStringLiteral("After picture"), QStringLiteral("Band"), QString()};
    // 40 KB: the plain size holds a byte of 0x80 or more, so it cannot be syncsafe.
    const QByteArray picture40k =
        frame("APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray(40 * 1024, char(0xD8)));
    EXPECT_EQ(read(tagged(4, 0, picture40k + texts)), expected);
    expectZvdctlShows(expected);
    // 70000 bytes: 00 01 11 70 reads as either; syncsafe lands inside the picture, plain on TIT2.
    const QByteArray picture70k =
        frame("APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray(70000 - 14, char(0xD8)));
    ASSERT_EQ(picture70k.mid(4, 4), QByteArray("\0\x01\x11\x70", 4));
    EXPECT_EQ(read(tagged(4, 0, picture70k + texts)), expected);
    EXPECT_EQ(model.FrameCount(), 3);
    // Syncsafe sizes that land well stay syncsafe, even where the plain reading would too.
    const QByteArray syncsafePicture = frame24("APIC", QByteArray(200, 'A'));
    EXPECT_EQ(read(tagged(4, 0, syncsafePicture + frame24("TIT2", latin1("After picture")))).title,
              QStringLiteral("After picture"));
    // A plain size that lands nowhere either: the walk ends after the picture, without a crash.
    QByteArray broken = picture70k;
    broken[5] = char(0x7F);
    EXPECT_EQ(read(tagged(4, 0, broken + texts)), TagColumns());
}

TEST_F(TagVariants, ZeroSizeFramesArePassedOver)
{
    for (const int version : {3, 4}) {
        const bool v4 = version == 4;
        const QByteArray body = frame("TENC", QByteArray(), v4) + frame("WOAR", QByteArray(), v4) +
                                frame("TIT2", latin1("Title"), v4) + frame("POPM", QByteArray(), v4) +
                                frame("TPE1", latin1("Band"), v4);
        const TagColumns columns = read(tagged(version, 0, body));
        EXPECT_EQ(columns, (TagColumns{QStringLiteral("Title"), QStringLiteral("Band"), QString()}))
            << version;
        EXPECT_EQ(model.FrameCount(), 2);
    }
    expectZvdctlShows({QStringLiteral("Title"), QStringLiteral("Band"), QString()});
    // Nothing but zero-size frames up to the end of the tag.
    read(id3v2(3, 50,
               frame("TENC", QByteArray()) + frame("TENC", QByteArray()) + frame("TENC", QByteArray())));
    EXPECT_EQ(model.FrameCount(), 0);
}

TEST_F(TagVariants, UserDefinedTextIsTheTextAfterItsDescription)
{
    read(tagged(
        3, 0,
        frame("TXXX", QByteArray("\0Description\0", 13)) + frame("TXXX", QByteArray("\0Mood\0Calm", 10)) +
            frame("TXXX", utf16(QStringLiteral("Key")) + QByteArray(2, '\0') + QByteArray("\xFF\xFEG\0", 4)) +
            frame("TXXX", utf16(QStringLiteral("Empty")) + QByteArray(2, '\0'))));
    EXPECT_EQ(model.TagsInFrame(QStringLiteral("TXXX")), 4);
    EXPECT_TRUE(model.TagText(QStringLiteral("TXXX"), 1).isEmpty());
    EXPECT_EQ(model.TagText(QStringLiteral("TXXX"), 2), QStringLiteral("Calm"));
    EXPECT_EQ(model.TagText(QStringLiteral("TXXX"), 3), QStringLiteral("G"));
    EXPECT_TRUE(model.TagText(QStringLiteral("TXXX"), 4).isEmpty());
    const QJsonArray frames = tags()[QStringLiteral("id3v2")].toObject()[QStringLiteral("frames")].toArray();
    ASSERT_EQ(frames.size(), 1);
    const QJsonArray texts = frames[0].toObject()[QStringLiteral("texts")].toArray();
    EXPECT_EQ(texts.toVariantList(),
              (QVariantList{QString(), QStringLiteral("Calm"), QStringLiteral("G"), QString()}));
}

TEST_F(TagVariants, VbriFileGetsItsAverageBitRateFromZvdctlMpeg)
{
    // A frame header, 32 bytes of side information, then VBRI: version 1, delay, quality, the
    // byte count and 3000 frames; behind a tag, as encoders that write VBRI leave it.
    QByteArray audio = frameHeader(9) + QByteArray(1000, '\0');
    audio.replace(36, 4, "VBRI");
    audio.replace(40, 2, QByteArray("\0\x01", 2));
    audio.replace(50, 4, be32(3000));
    read(tagged(3, 0, frame("TIT2", latin1("Title")), audio + QByteArray(100000, 'x')));
    QProcess process;
    process.start(zvdctl, {QStringLiteral("mpeg"), path});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QJsonObject mpeg = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    EXPECT_TRUE(mpeg[QStringLiteral("vbr")].toBool());
    EXPECT_EQ(mpeg[QStringLiteral("frameCount")].toInt(), 3000);
    EXPECT_EQ(mpeg[QStringLiteral("bitRate")].toInt(),
              qRound(QFile(path).size() * 44100.0 / 3000 / 1000 / 144));
}
