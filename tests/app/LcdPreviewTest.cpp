// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/LcdPreview.h"
#include "transfer/TitleBlock.h"
#include "transfer/TitleRenderer.h"

#include <gtest/gtest.h>

namespace
{

bool lit(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

TEST(LcdPreview, DecodesBandsColumnsAndBitsOfTheBlock)
{
    QByteArray block(TitleBlock::Size, '\0');
    block[512 + 3] = char(1 << 2);     // pixel (3, 10)
    block[0] = char(0x81);             // pixels (0, 0) and (0, 7)
    block[2 * 512 + 511] = char(0x80); // pixel (511, 23)
    const QImage image = LcdPreview::imageFromBlock(block);
    ASSERT_EQ(image.size(), QSize(512, 24));
    EXPECT_TRUE(lit(image, 3, 10));
    EXPECT_TRUE(lit(image, 0, 0));
    EXPECT_TRUE(lit(image, 0, 7));
    EXPECT_TRUE(lit(image, 511, 23));
    EXPECT_FALSE(lit(image, 3, 9));
    EXPECT_FALSE(lit(image, 4, 10));
    int count = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 512; ++x)
            count += lit(image, x, y);
    EXPECT_EQ(count, 4);
}

TEST(LcdPreview, ShowsExactlyTheInkOfARenderedTitle)
{
    const LcdTitleFont font;
    const RenderedTitle rendered = renderTitle(QStringLiteral("Yesterday"), font);
    const QImage image = LcdPreview::imageFromBlock(MakeTitleBlock(QStringLiteral("Yesterday"), 0, font));
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 512; ++x)
            ASSERT_EQ(lit(image, x, y), TitleBlock::isPixelOn(rendered.canvas.at(x, y))) << x << "," << y;
}

TEST(LcdPreview, ABlockOfTheWrongSizeShowsNothing)
{
    EXPECT_TRUE(LcdPreview::imageFromBlock(QByteArray(1545, '\0')).isNull());
    LcdPreview preview;
    preview.showBlock(QByteArray(10, '\xff'));
    EXPECT_TRUE(preview.image().isNull());
    EXPECT_FALSE(preview.isVisibleTo(nullptr));
}

} // namespace
