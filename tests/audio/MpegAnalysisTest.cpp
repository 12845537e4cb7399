// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/MpegAnalysis.h"
#include "AudioFixtures.h"
#include "audio/TagError.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace AudioFixtures;

namespace
{

QByteArray padded(QByteArray bytes, qsizetype size)
{
    bytes.resize(size, '\0');
    return bytes;
}

} // namespace

TEST(MpegBits, BitStringDropsLeadingZerosAndConvertsBack)
{
    EXPECT_EQ(BytesToBitString(QByteArray("\xFF\xFB", 2)), QStringLiteral("1111111111111011"));
    EXPECT_EQ(BytesToBitString(QByteArray("\x00\x05", 2)), QStringLiteral("101"));
    EXPECT_EQ(BitStringToNumber(u"1011"), 11u);
    EXPECT_EQ(BitStringToNumber(u""), 0u);
    EXPECT_EQ(BytesToBitString(frameHeader()).size(), 32);
}

TEST(MpegAnalysis, ConstantBitRateFrameGivesTableRateAndDuration)
{
    const MpegInfo info = MpegAnalysis::analyse(padded(frameHeader(9, 0), 5047), 1280000);
    EXPECT_EQ(info.bitRate, 128);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.version, 1);
    EXPECT_EQ(info.layer, 3);
    EXPECT_EQ(info.duration, 80);
    EXPECT_FALSE(info.vbr);
    EXPECT_EQ(info.channelMode, QStringLiteral("joint stereo"));
    EXPECT_EQ(info.crcProtection, QStringLiteral("no"));
    EXPECT_EQ(info.emphasis, QStringLiteral("no"));
}

TEST(MpegAnalysis, CrcFlagFollowsTheSecondByte)
{
    EXPECT_EQ(MpegAnalysis::analyse(padded(frameHeader(9, 0, true), 300), 300).crcProtection,
              QStringLiteral("yes"));
    EXPECT_EQ(MpegAnalysis::analyse(padded(frameHeader(9, 0, false), 300), 300).crcProtection,
              QStringLiteral("no"));
}

TEST(MpegAnalysis, XingFileGetsTheAverageBitRate)
{
    const MpegInfo info = MpegAnalysis::analyse(padded(audioFrame(3000), 5047), 4000000);
    EXPECT_TRUE(info.vbr);
    EXPECT_EQ(info.frameCount, 3000u);
    EXPECT_EQ(info.bitRate, 408);
    EXPECT_EQ(info.duration, 78);
}

TEST(MpegAnalysis, SingleChannelXingHeaderSitsAfterTheShorterSideInfo)
{
    QByteArray frame = frameHeader(9, 0, false, 3) + QByteArray(413, '\0');
    frame.replace(21, 4, "Xing");
    frame[31] = char(0x0B);
    frame[32] = char(0xB8); // 3000 frames
    const MpegInfo info = MpegAnalysis::analyse(frame, 4000000);
    EXPECT_TRUE(info.vbr);
    EXPECT_EQ(info.frameCount, 3000u);
}

TEST(MpegAnalysis, XingHeaderAfterTheLongerSideInfoCountsInSingleChannelFramesToo)
{
    QByteArray frame = frameHeader(9, 0, false, 3) + QByteArray(413, '\0');
    frame.replace(36, 4, "Xing");
    frame[46] = char(0x0B);
    frame[47] = char(0xB8); // 3000 frames
    const MpegInfo info = MpegAnalysis::analyse(frame, 4000000);
    EXPECT_TRUE(info.vbr);
    EXPECT_EQ(info.frameCount, 3000u);
    EXPECT_EQ(info.bitRate, 408);
}

TEST(MpegAnalysis, FrameAfterATagIsFoundWithinTheSearchRange)
{
    QTemporaryDir dir;
    const QByteArray tag = id3v2(3, 2990, QByteArray(2990, '\0'));
    const QString path =
        writeFile(dir.path(), QStringLiteral("a.mp3"), tag + audioFrame(1000) + QByteArray(2000, 'x'));
    const MpegInfo info = AnalyseMpegFile(path);
    EXPECT_TRUE(info.vbr);
    EXPECT_EQ(info.layer, 3);

    // Beyond the search range the frame is hidden, unless the search starts behind a leading tag.
    const QString hidden =
        writeFile(dir.path(), QStringLiteral("b.mp3"),
                  QByteArray(6000, 'x') + id3v2(3, 2990, QByteArray(2990, '\0')) + audioFrame(1000));
    EXPECT_FALSE(AnalyseMpegFile(hidden).vbr);
    EXPECT_EQ(AnalyseMpegFile(hidden).layer, 0) << "the header is then read at offset 0";
}

TEST(MpegAnalysis, MpegTwoFramesAreNotSearchedFor)
{
    QByteArray mpeg2 = padded(QByteArray("\x00\xFF\xF3\x90\x44", 5), 600);
    const MpegInfo info = MpegAnalysis::analyse(mpeg2, mpeg2.size());
    EXPECT_EQ(info.layer, 0);
    EXPECT_EQ(info.bitRate, 0);
}

TEST(MpegAnalysis, ReservedSampleRateStopsWithoutHeaderFields)
{
    QByteArray head = padded(frameHeader(9, 3) + QByteArray(32, '\0') + "Xing", 600);
    const MpegInfo info = MpegAnalysis::analyse(head, 600);
    EXPECT_FALSE(info.vbr);
    EXPECT_EQ(info.sampleRate, 0);
    EXPECT_EQ(info.bitRate, 0);
    EXPECT_TRUE(info.channelMode.isEmpty());
}

TEST(MpegAnalysis, ShortFileGivesTheInitialRecord)
{
    EXPECT_EQ(MpegAnalysis::analyse(padded(frameHeader(), 255), 255), MpegInfo());
    QTemporaryDir dir;
    EXPECT_EQ(AnalyseMpegFile(writeFile(dir.path(), QStringLiteral("s.mp3"), padded(frameHeader(), 255))),
              MpegInfo());
}

TEST(MpegAnalysis, UncomputableBitRatesBecomeZeroWithoutDividingByZero)
{
    // Xing count 0, bit-rate index 0 (free format), bit-rate index 15.
    for (const QByteArray& head :
         {padded(audioFrame(0), 600), padded(frameHeader(0), 600), padded(frameHeader(15), 600)}) {
        const MpegInfo info = MpegAnalysis::analyse(head, 600);
        EXPECT_EQ(info.bitRate, 0);
        EXPECT_EQ(info.duration, 0);
        EXPECT_EQ(info.sampleRate, 44100);
    }
}

TEST(MpegAnalysis, HugeFilesAndCountsNeitherOverflowNorWrap)
{
    const qint64 fiveGiB = qint64(5) << 30;
    const MpegInfo cbr = MpegAnalysis::analyse(padded(frameHeader(9, 0), 600), fiveGiB);
    EXPECT_EQ(cbr.duration, fiveGiB * 8 / 128 / 1000);
    const MpegInfo vbr = MpegAnalysis::analyse(padded(audioFrame(1), 600), fiveGiB * 10);
    EXPECT_EQ(vbr.bitRate, 0) << "a rate beyond any real file counts as unknown";
    const MpegInfo manyFrames = MpegAnalysis::analyse(padded(audioFrame(100000), 600), 400000000);
    EXPECT_EQ(manyFrames.frameCount, 100000u);
    EXPECT_EQ(manyFrames.bitRate, 1225);
}

TEST(MpegAnalysis, MissingFileRaisesAnError)
{
    QTemporaryDir dir;
    EXPECT_THROW(AnalyseMpegFile(dir.filePath(QStringLiteral("missing.mp3"))), TagError);
}

namespace
{

// A frame header, 32 bytes of side information, then a VBRI header with the given frame count.
QByteArray vbriFrame(quint32 frames)
{
    QByteArray f = frameHeader(9) + QByteArray(413, '\0');
    f.replace(36, 4, "VBRI");
    f[41] = 1; // version 1
    for (int i = 0; i < 4; ++i)
        f[50 + i] = char(frames >> (24 - 8 * i));
    return f;
}

} // namespace

TEST(MpegAnalysis, VbriHeaderGivesTheAverageBitRateLikeXing)
{
    const MpegInfo info = MpegAnalysis::analyse(padded(vbriFrame(3000), 5054), 4000000);
    EXPECT_TRUE(info.vbr);
    EXPECT_EQ(info.frameCount, 3000u);
    EXPECT_EQ(info.bitRate, 408);
    // Only at its place: 32 bytes behind the frame header.
    QByteArray elsewhere = frameHeader(9) + QByteArray(413, '\0');
    elsewhere.replace(21, 4, "VBRI");
    EXPECT_FALSE(MpegAnalysis::analyse(elsewhere, 4000000).vbr);
    EXPECT_EQ(MpegAnalysis::analyse(elsewhere, 4000000).bitRate, 128);
    // Cut off after its marker: no frame count, no bit rate, no crash.
    EXPECT_EQ(MpegAnalysis::analyse(vbriFrame(3000).left(44), 4000000).bitRate, 0);
}

TEST(MpegAnalysis, SearchStartsBehindALeadingTagOfAnySize)
{
    QTemporaryDir dir;
    // A 30 KB cover picture in the tag; its bytes hold no frame start.
    const QByteArray cover =
        frame("APIC", QByteArray("\0image/png\0\x03\0", 13) + QByteArray(30000, char(0x89)));
    const QByteArray audio = audioFrame(3000) + QByteArray(100000, 'x');
    const QString path = writeFile(dir.path(), QStringLiteral("cover.mp3"),
                                   id3v2(3, syncsafe(quint32(cover.size())), cover) + audio);
    MpegInfo info = AnalyseMpegFile(path);
    EXPECT_TRUE(info.vbr);
    EXPECT_EQ(info.frameCount, 3000u);
    EXPECT_EQ(info.layer, 3);
    EXPECT_EQ(info.bitRate, qRound(QFile(path).size() * 44100.0 / 3000 / 1000 / 144));
    MpegInfo bitsInfo;
    EXPECT_EQ(ReadMpegHeaderBits(path, bitsInfo), BytesToBitString(frameHeader()));
    EXPECT_TRUE(bitsInfo.vbr);

    // What sending does: the first bytes in hand, the rest read from the file when needed.
    const QByteArray head = AudioFixtures::readFile(path).left(MpegAnalysis::HeadSize);
    EXPECT_EQ(MpegAnalysis::analyse(head, QFile(path).size(), path), info);

    // A version 2.4 tag with a footer: the audio begins 10 bytes later.
    QByteArray withFooter =
        id3v2(4, syncsafe(quint32(cover.size())), cover) + "3DI\x04" + QByteArray(6, '\0');
    withFooter[5] = char(0x10);
    EXPECT_TRUE(AnalyseMpegFile(writeFile(dir.path(), QStringLiteral("footer.mp3"), withFooter + audio)).vbr);

    // This program's own tags give their whole room as a plain size.
    const QByteArray room = id3v2(3, 12288, QByteArray(12278, '\0'));
    EXPECT_TRUE(AnalyseMpegFile(writeFile(dir.path(), QStringLiteral("room.mp3"), room + audio)).vbr);
}

TEST(MpegAnalysis, BehindATagAnMpeg2FrameIsNotTakenAndZerosStillHideAFrame)
{
    QTemporaryDir dir;
    const QByteArray tag = id3v2(3, syncsafe(20000), QByteArray(20000, '\0'));
    QByteArray mpeg2 = QByteArray("\xFF\xF3\x90\x44", 4) + QByteArray(2000, '\0');
    MpegInfo info = AnalyseMpegFile(writeFile(dir.path(), QStringLiteral("mpeg2.mp3"), tag + mpeg2));
    EXPECT_EQ(info.layer, 0);
    EXPECT_FALSE(info.vbr);
    info = AnalyseMpegFile(
        writeFile(dir.path(), QStringLiteral("zeros.mp3"), tag + QByteArray(5000, '\0') + audioFrame(3000)));
    EXPECT_EQ(info.layer, 0);
    EXPECT_FALSE(info.vbr);
    // A tag size that points past the end of the file, or a damaged one, leaves the usual search.
    const QByteArray small = id3v2(3, 0x7F7F7F7F, QByteArray(100, '\0')) + audioFrame(3000);
    EXPECT_TRUE(AnalyseMpegFile(writeFile(dir.path(), QStringLiteral("past.mp3"), small)).vbr);
    const QByteArray odd = id3v2(3, 0xFFFFFFFF, QByteArray(100, '\0')) + audioFrame(3000);
    EXPECT_TRUE(AnalyseMpegFile(writeFile(dir.path(), QStringLiteral("odd.mp3"), odd)).vbr);
}
