// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/TitleRenderer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace
{

qint16 widthField(const QByteArray& block)
{
    return qFromLittleEndian<qint16>(block.constData() + 1540);
}

int inkedColumns(const RenderedTitle& title)
{
    int columns = 0;
    for (int x = 0; x < title.canvas.width; ++x) {
        for (int y = 0; y < title.canvas.height; ++y) {
            if (TitleBlock::isPixelOn(title.canvas.at(x, y))) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

TEST(TitleRenderer, EmptyTextGivesAnEmptyBlock)
{
    const QByteArray block = MakeTitleBlock(QString(), 7, LcdTitleFont());
    ASSERT_EQ(block.size(), 1546);
    EXPECT_EQ(block.left(1536), QByteArray(1536, '\0'));
    EXPECT_EQ(widthField(block), 0);
    EXPECT_EQ(qFromLittleEndian<qint16>(block.constData() + 1542), 7);
}

TEST(TitleRenderer, DrawsUnsmoothedTextFromTheTopLeft)
{
    const RenderedTitle title = renderTitle(QStringLiteral("Hello World"), LcdTitleFont());
    EXPECT_EQ(title.canvas.width, 512);
    EXPECT_EQ(title.canvas.height, 24);
    EXPECT_GT(title.width, 50);
    EXPECT_LT(title.width, 200);
    // One bit deep: every pixel is pure black or pure white.
    for (quint32 pixel : title.canvas.bgr)
        ASSERT_TRUE(pixel == 0 || pixel == 0xFFFFFF) << std::hex << pixel;
    EXPECT_GT(inkedColumns(title), 20);
    // Ink starts near column 0 and stays within the advance width.
    EXPECT_TRUE(TitleBlock::isPixelOn(title.canvas.at(1, 8)) ||
                TitleBlock::isPixelOn(title.canvas.at(2, 8)) || TitleBlock::isPixelOn(title.canvas.at(3, 8)));
    for (int y = 0; y < 24; ++y)
        EXPECT_FALSE(TitleBlock::isPixelOn(title.canvas.at(title.width + 2, y)));
}

TEST(TitleRenderer, PointsAreRenderedAt96Dpi)
{
    LcdTitleFont small;
    small.points = 8;
    LcdTitleFont large;
    large.points = 16;
    const int w8 = renderTitle(QStringLiteral("MMMMMMMMMM"), small).width;
    const int w16 = renderTitle(QStringLiteral("MMMMMMMMMM"), large).width;
    EXPECT_NEAR(double(w16) / w8, 2.0, 0.2);
    // 16 points at 96 dpi is a 21.33-pixel em: ten M's of Liberation Sans / Arial take about 178 px.
    EXPECT_NEAR(w16, 178, 12);
}

TEST(TitleRenderer, WideTextIsCutAtColumn511AndReportsWidth512)
{
    const QString text(60, QLatin1Char('W'));
    const RenderedTitle title = renderTitle(text, LcdTitleFont());
    ASSERT_GT(title.width, 700);
    const QByteArray block = TitleBlock::pack(title.canvas, title.width, 0);
    EXPECT_EQ(widthField(block), 512);
    EXPECT_GT(inkedColumns(title), 400);
}

TEST(TitleRenderer, BoldIsWider)
{
    LcdTitleFont bold;
    bold.bold = true;
    EXPECT_GT(renderTitle(QStringLiteral("Bold text here"), bold).width,
              renderTitle(QStringLiteral("Bold text here"), LcdTitleFont()).width);
}

TEST(TitleRenderer, WritingTwiceKeepsOnlyTheSecondBlock)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("~Temp.dat"));
    ASSERT_TRUE(writeTitleBlockFile(
        path, MakeTitleBlock(QStringLiteral("first, quite long text"), 1, LcdTitleFont())));
    const QByteArray second = MakeTitleBlock(QStringLiteral("2"), 2, LcdTitleFont());
    ASSERT_TRUE(writeTitleBlockFile(path, second));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), second);
}

} // namespace
