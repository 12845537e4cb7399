// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "core/CodePage.h"

#include <gtest/gtest.h>

namespace
{

class CodePageTest : public ::testing::Test
{
protected:
    void TearDown() override { CodePage::setCodePage("CP1252"); }
};

TEST_F(CodePageTest, WesternBytesRoundTripIncludingUndefinedOnes)
{
    ASSERT_TRUE(CodePage::setCodePage("cp1252"));
    const QByteArray bytes("Caf\xE9 \x80 \x81\x9F", 9);
    const QString text = CodePage::toUnicode(bytes);
    EXPECT_EQ(text, QStringLiteral(u"Café € \u0081Ÿ"));
    EXPECT_EQ(CodePage::fromUnicode(text), bytes);
    EXPECT_FALSE(CodePage::isDoubleByte());
}

TEST_F(CodePageTest, UnknownCharactersBecomeQuestionMarks)
{
    ASSERT_TRUE(CodePage::setCodePage("CP1252"));
    EXPECT_EQ(CodePage::fromUnicode(u"a\u4E00b"), QByteArray("a?b"));
}

TEST_F(CodePageTest, KoreanPairsDecodeAndEncode)
{
    ASSERT_TRUE(CodePage::setCodePage("949"));
    const QByteArray bytes("\xC7\xD1\xB1\xDB A", 6); // "한글 A"
    EXPECT_EQ(CodePage::toUnicode(bytes), QStringLiteral(u"한글 A"));
    EXPECT_EQ(CodePage::fromUnicode(u"한글 A"), bytes);
    EXPECT_TRUE(CodePage::isLeadByte(0xC7));
    EXPECT_FALSE(CodePage::isLeadByte('A'));
}

TEST_F(CodePageTest, LoneLeadByteAtTheEndIsOneReplacementCharacter)
{
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    EXPECT_EQ(CodePage::toUnicode(QByteArray("A\xC7", 2)), QStringLiteral(u"A\uFFFD"));
    EXPECT_EQ(CodePage::toUnicodePaired(QByteArray("A\xC7", 2)), QStringLiteral(u"A\uFFFD"));
}

TEST_F(CodePageTest, PairedRuleTakesAnyHighByteWithItsNeighbour)
{
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    EXPECT_EQ(CodePage::toUnicodePaired(QByteArray("\xC7\xD1x", 3)), QStringLiteral(u"한x"));
    // On a single-byte page the rule degenerates to one byte, one character.
    ASSERT_TRUE(CodePage::setCodePage("CP1252"));
    EXPECT_EQ(CodePage::toUnicodePaired(QByteArray("\xE9t", 2)), QStringLiteral(u"ét"));
}

TEST_F(CodePageTest, TruncationNeverSplitsADoubleByteCharacter)
{
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    const QByteArray bytes = CodePage::fromUnicode(u"a한글");
    ASSERT_EQ(bytes.size(), 5);
    EXPECT_EQ(CodePage::truncated(bytes, 4), bytes.left(3));
    EXPECT_EQ(CodePage::truncated(bytes, 5), bytes);
    EXPECT_EQ(CodePage::truncated(bytes, 1), QByteArray("a"));
    ASSERT_TRUE(CodePage::setCodePage("CP1252"));
    EXPECT_EQ(CodePage::truncated(QByteArray("\xE9\xE9\xE9", 3), 2), QByteArray("\xE9\xE9", 2));
}

TEST_F(CodePageTest, UnknownNameKeepsTheActivePage)
{
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    EXPECT_FALSE(CodePage::setCodePage("CP-NOPE"));
    EXPECT_EQ(CodePage::name(), QByteArray("CP949"));
}

TEST(CodePageLocale, LocalesPickTheirWindowsPages)
{
    EXPECT_EQ(CodePage::codePageForLocale(QStringLiteral("ko_KR.UTF-8")), QByteArray("CP949"));
    EXPECT_EQ(CodePage::codePageForLocale(QStringLiteral("ja_JP")), QByteArray("CP932"));
    EXPECT_EQ(CodePage::codePageForLocale(QStringLiteral("zh_CN.UTF-8")), QByteArray("CP936"));
    EXPECT_EQ(CodePage::codePageForLocale(QStringLiteral("zh_TW")), QByteArray("CP950"));
    EXPECT_EQ(CodePage::codePageForLocale(QStringLiteral("uk_UA")), QByteArray("CP1251"));
    EXPECT_EQ(CodePage::codePageForLocale(QStringLiteral("tr_TR")), QByteArray("CP1254"));
    EXPECT_EQ(CodePage::codePageForLocale(QStringLiteral("de_DE@euro")), QByteArray("CP1252"));
    EXPECT_EQ(CodePage::codePageForLocale(QStringLiteral("C")), QByteArray("CP1252"));
}

} // namespace
