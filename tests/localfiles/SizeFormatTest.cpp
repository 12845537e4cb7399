// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/SizeFormat.h"
#include "localfiles/PathJoin.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace mFileAPI;

namespace
{

struct SizeCase {
    qint64 bytes;
    const char* unit0;
    const char* unit1;
    const char* unit2;
};

TEST(FormatSize, ShowsEachUnitWithEnglishSeparators)
{
    const SizeFormatter english{QLocale(QLocale::English, QLocale::UnitedStates)};
    const SizeCase cases[] = {
        {0, "0", "0 K", "0.0 M"},
        {1023, "1,023", "1 K", "0.0 M"},
        {1600, "1,600", "2 K", "0.0 M"},
        {5242880, "5,242,880", "5,120 K", "5.0 M"},
        // Byte counts are exact: no rounding to 24 significant bits.
        {16777217, "16,777,217", "16,384 K", "16.0 M"},
        {3000000000LL, "3,000,000,000", "2,929,688 K", "2,861.0 M"},
    };
    for (const SizeCase& c : cases) {
        EXPECT_EQ(english.format(c.bytes, UnitByte), QLatin1String(c.unit0)) << c.bytes;
        EXPECT_EQ(english.format(c.bytes, UnitKByte), QLatin1String(c.unit1)) << c.bytes;
        EXPECT_EQ(english.format(c.bytes, UnitMByte), QLatin1String(c.unit2)) << c.bytes;
    }
}

TEST(FormatSize, RoundsHalvesAwayFromZero)
{
    const SizeFormatter english{QLocale(QLocale::English, QLocale::UnitedStates)};
    EXPECT_EQ(english.format(512, UnitKByte), QLatin1String("1 K"));
    EXPECT_EQ(english.format(511, UnitKByte), QLatin1String("0 K"));
    EXPECT_EQ(english.format(52429 * 2 - 1, UnitMByte), QLatin1String("0.1 M")); // 0.09999...
}

TEST(FormatSize, UsesTheLocalesSeparators)
{
    const SizeFormatter german{QLocale(QLocale::German, QLocale::Germany)};
    EXPECT_EQ(german.format(1234567), QLatin1String("1.234.567"));
    EXPECT_EQ(german.format(5242880, UnitMByte), QLatin1String("5,0 M"));
    // The C locale groups too, so scripts see the same text everywhere.
    EXPECT_EQ(SizeFormatter(QLocale::c()).format(1234567), QLatin1String("1,234,567"));
}

TEST(FormatSize, KeepsTheSignOfNegativeCounts)
{
    const SizeFormatter english{QLocale(QLocale::English, QLocale::UnitedStates)};
    EXPECT_EQ(english.format(-1234), QLatin1String("-1,234"));
    EXPECT_EQ(english.format(-104858, UnitMByte), QLatin1String("-0.1 M"));
}

TEST(AddSlash, AppendsOneSeparatorOnly)
{
    const QString sep = QDir::separator();
    EXPECT_EQ(AddSlash(QStringLiteral("music")), QStringLiteral("music") + sep);
    EXPECT_EQ(AddSlash(QStringLiteral("music") + sep), QStringLiteral("music") + sep);
    EXPECT_EQ(AddSlash(sep), sep); // a root stays a root
    EXPECT_EQ(AddSlash(QString()), sep);
}

} // namespace
