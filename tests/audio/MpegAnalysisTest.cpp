// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "AudioFixtures.h"
#include "MpegAnalysis.h"
#include "TagError.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace AudioFixtures;

namespace {

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
    EXPECT_EQ(MpegAnalysis::analyse(padded(frameHeader(9, 0, true), 300), 300).crcProtection, QStringLiteral("yes"));
    EXPECT_EQ(MpegAnalysis::analyse(padded(frameHeader(9, 0, false), 300), 300).crcProtection, QStringLiteral("no"));
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
    const QString path = writeFile(dir.path(), QStringLiteral("a.mp3"), tag + audioFrame(1000) + QByteArray(2000, 'x'));
    const MpegInfo info = AnalyseMpegFile(path);
    EXPECT_TRUE(info.vbr);
    EXPECT_EQ(info.layer, 3);

    // Beyond the search range the frame is hidden, unless the search starts behind a leading tag.
    const QString hidden = writeFile(dir.path(), QStringLiteral("b.mp3"),
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
    EXPECT_EQ(AnalyseMpegFile(writeFile(dir.path(), QStringLiteral("s.mp3"), padded(frameHeader(), 255))), MpegInfo());
}

TEST(MpegAnalysis, UncomputableBitRatesBecomeZeroWithoutDividingByZero)
{
    // Xing count 0, bit-rate index 0 (free format), bit-rate index 15.
    for (const QByteArray& head : {padded(audioFrame(0), 600), padded(frameHeader(0), 600), padded(frameHeader(15), 600)}) {
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
