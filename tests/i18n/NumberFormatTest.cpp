// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "i18n/NumberFormat.h"

#include <gtest/gtest.h>

namespace
{
QString fmt(qint64 value, const char* pattern)
{
    return FormatNumber(value, QString::fromUtf8(pattern));
}
} // namespace

TEST(NumberFormat, DigitPlaceholdersTakeTheCountAndLiteralsStay)
{
    EXPECT_EQ(fmt(3, "0 files"), QStringLiteral("3 files"));
    EXPECT_EQ(fmt(3, "(0)"), QStringLiteral("(3)"));
    EXPECT_EQ(fmt(12, "# Dateien"), QStringLiteral("12 Dateien"));
    EXPECT_EQ(fmt(12345, "0"), QStringLiteral("12345")) << "the first placeholder takes the extra digits";
}

TEST(NumberFormat, ZeroPlaceholdersPadAndHashesDoNot)
{
    EXPECT_EQ(fmt(7, "000"), QStringLiteral("007"));
    EXPECT_EQ(fmt(0, "#"), QString());
    EXPECT_EQ(fmt(0, "0"), QStringLiteral("0"));
    EXPECT_EQ(fmt(7, "##0"), QStringLiteral("7"));
    EXPECT_EQ(fmt(12345, "000-00"), QStringLiteral("123-45"));
}

TEST(NumberFormat, CommaBetweenPlaceholdersGroupsThousands)
{
    EXPECT_EQ(fmt(1234, "#,##0 files"), QStringLiteral("1,234 files"));
    EXPECT_EQ(fmt(1234567, "#,##0"), QStringLiteral("1,234,567"));
    EXPECT_EQ(fmt(12, "#,##0"), QStringLiteral("12"));
    EXPECT_EQ(fmt(5, "0,000"), QStringLiteral("0,005"));
}

TEST(NumberFormat, TrailingCommaScalesByThousand)
{
    EXPECT_EQ(fmt(1234567, "#,##0,"), QStringLiteral("1,235"));
    EXPECT_EQ(fmt(1234567, "0,,"), QStringLiteral("1"));
}

TEST(NumberFormat, DecimalPointAndFractionPlaceholders)
{
    EXPECT_EQ(fmt(3, "0.00"), QStringLiteral("3.00"));
    EXPECT_EQ(fmt(5, "#.##"), QStringLiteral("5."));
    EXPECT_EQ(fmt(1500, "0.0,"), QStringLiteral("1.5"));
    EXPECT_EQ(fmt(7, ".00"), QStringLiteral("7.00"));
}

TEST(NumberFormat, PercentMultipliesByHundred)
{
    EXPECT_EQ(fmt(3, "0%"), QStringLiteral("300%"));
}

TEST(NumberFormat, QuotedAndEscapedTextIsLiteral)
{
    EXPECT_EQ(fmt(3, "\"Files: 0#,\"0"), QStringLiteral("Files: 0#,3"));
    EXPECT_EQ(fmt(3, "0 \\# \\0"), QStringLiteral("3 # 0"));
}

TEST(NumberFormat, SectionsForNegativeAndZero)
{
    EXPECT_EQ(fmt(0, "0 files;-0;no files"), QStringLiteral("no files"));
    EXPECT_EQ(fmt(-4, "0;(0)"), QStringLiteral("(4)"));
    EXPECT_EQ(fmt(-4, "0 x"), QStringLiteral("-4 x"));
    EXPECT_EQ(fmt(2, "0 files;;none"), QStringLiteral("2 files"));
    EXPECT_EQ(fmt(0, "\"a;b\" 0"), QStringLiteral("a;b 0"));
}

TEST(NumberFormat, EmptyPatternIsThePlainNumberAndNoPlaceholderHidesIt)
{
    EXPECT_EQ(fmt(42, ""), QStringLiteral("42"));
    EXPECT_EQ(fmt(42, "files"), QStringLiteral("files"));
}

TEST(NumberFormat, ExtremeValuesStayExact)
{
    EXPECT_EQ(fmt(std::numeric_limits<qint64>::min(), "0"), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(fmt(std::numeric_limits<qint64>::max(), "#,##0"), QStringLiteral("9,223,372,036,854,775,807"));
}
