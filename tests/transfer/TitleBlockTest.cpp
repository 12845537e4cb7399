// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/TitleBlock.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace
{

TitleBlock::Canvas whiteCanvas(int width = 512, int height = 24)
{
    return TitleBlock::Canvas{width, height, std::vector<quint32>(std::size_t(width * height), 0xFFFFFF)};
}

void setPixel(TitleBlock::Canvas& canvas, int x, int y, quint32 bgr)
{
    canvas.bgr[std::size_t(y * canvas.width + x)] = bgr;
}

qint16 field(const QByteArray& block, int offset)
{
    return qFromLittleEndian<qint16>(block.constData() + offset);
}

TEST(TitleBlock, EmptyCanvasGivesZeroBitmapAndTrailer)
{
    const QByteArray block = TitleBlock::pack(whiteCanvas(), 0, 321);
    ASSERT_EQ(block.size(), 1546);
    EXPECT_EQ(block.left(1536), QByteArray(1536, '\0'));
    EXPECT_EQ(block.mid(1536, 4), QByteArray("VELQ"));
    EXPECT_EQ(field(block, 1540), 0);
    EXPECT_EQ(field(block, 1542), 321);
    EXPECT_EQ(field(block, 1544), 0);
}

TEST(TitleBlock, PixelsGoToBandsColumnByColumnTopRowInBitZero)
{
    TitleBlock::Canvas canvas = whiteCanvas();
    setPixel(canvas, 3, 10, 0x000000);   // band 1, bit 2
    setPixel(canvas, 0, 0, 0x000000);    // band 0, bit 0
    setPixel(canvas, 511, 23, 0x000000); // band 2, bit 7
    const QByteArray block = TitleBlock::pack(canvas, 10, -5);
    EXPECT_EQ(quint8(block[515]), 0x04);
    EXPECT_EQ(quint8(block[0]), 0x01);
    EXPECT_EQ(quint8(block[1024 + 511]), 0x80);
    int inked = 0;
    for (int i = 0; i < 1536; ++i)
        inked += block[i] != 0;
    EXPECT_EQ(inked, 3);
    EXPECT_EQ(field(block, 1542), -5);
}

TEST(TitleBlock, ThresholdIsOnTheBlueFirstInteger)
{
    EXPECT_FALSE(TitleBlock::isPixelOn(0x808080)); // mid grey
    EXPECT_TRUE(TitleBlock::isPixelOn(0x7F7F7F));
    EXPECT_TRUE(TitleBlock::isPixelOn(0x7FFFFF)); // pale yellow: blue 0x7F
    EXPECT_FALSE(TitleBlock::isPixelOn(0x80FFFF));
    EXPECT_FALSE(TitleBlock::isPixelOn(0xFFFFFF));
    EXPECT_TRUE(TitleBlock::isPixelOn(0x000000));
}

TEST(TitleBlock, WidthIsLimitedTo512)
{
    EXPECT_EQ(field(TitleBlock::pack(whiteCanvas(), 512, 0), 1540), 512);
    EXPECT_EQ(field(TitleBlock::pack(whiteCanvas(), 700, 0), 1540), 512);
    EXPECT_EQ(field(TitleBlock::pack(whiteCanvas(), 511, 0), 1540), 511);
    EXPECT_EQ(field(TitleBlock::pack(whiteCanvas(), -3, 0), 1540), 0);
}

TEST(TitleBlock, OnlyTheFirst512By24PixelsAreSampled)
{
    TitleBlock::Canvas wide = whiteCanvas(700, 30);
    for (int x = 0; x < 700; ++x)
        setPixel(wide, x, 0, 0);
    for (int y = 0; y < 30; ++y)
        setPixel(wide, 600, y, 0);
    const QByteArray block = TitleBlock::pack(wide, 700, 0);
    for (int x = 0; x < 512; ++x)
        EXPECT_EQ(quint8(block[x]), 0x01) << x;
    EXPECT_EQ(field(block, 1540), 512);
    // A small canvas packs as if padded with white.
    TitleBlock::Canvas small = whiteCanvas(4, 4);
    setPixel(small, 3, 3, 0);
    const QByteArray padded = TitleBlock::pack(small, 4, 0);
    EXPECT_EQ(quint8(padded[3]), 0x08);
    EXPECT_EQ(padded.left(1536).count('\0'), 1535);
}

} // namespace
