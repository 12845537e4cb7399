// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/DisplayName.h"

#include <gtest/gtest.h>

namespace
{

QString name(int selector, const char* item, const char* title = "", const char* artist = "",
             const char* genre = "")
{
    return Disp_Name(selector, QString::fromUtf8(item), QString::fromUtf8(title), QString::fromUtf8(artist),
                     QString::fromUtf8(genre));
}

TEST(DisplayName, SelectorOneIsTheNameWithoutExtension)
{
    EXPECT_EQ(name(1, "Song.mp3", "Title"), QStringLiteral("Song"));
    EXPECT_EQ(name(0, "Song.mp3", "Title"), QStringLiteral("Song")); // no flag set
}

TEST(DisplayName, FlagsJoinTitleArtistGenreInThatOrder)
{
    EXPECT_EQ(name(6, "x.mp3", "Yesterday", "Band"), QStringLiteral("Yesterday - Band"));
    EXPECT_EQ(name(14, "x.mp3", "", "Band", "Rock"), QStringLiteral("Band - Rock"));
    EXPECT_EQ(name(6, "x.mp3", "Yesterday", ""), QStringLiteral("Yesterday - "));
    EXPECT_EQ(name(8 + 2, "x.mp3", "T", "A", "G"), QStringLiteral("T - G"));
    // Selector 1 is tested as a whole: 3 reads as flags (title).
    EXPECT_EQ(name(3, "x.mp3", "T"), QStringLiteral("T"));
}

TEST(DisplayName, EmptyColumnsFallBackToTheName)
{
    EXPECT_EQ(name(2, "clip.wma"), QStringLiteral("clip"));
    EXPECT_EQ(name(14, "clip.wma"), QStringLiteral("clip"));
    // Four characters go whatever the extension's length.
    EXPECT_EQ(name(1, "a.flac"), QStringLiteral("a."));
}

TEST(DisplayName, VeryShortNamesStayWhole)
{
    EXPECT_EQ(name(1, "abc"), QStringLiteral("abc"));
    EXPECT_EQ(name(1, "a.mp"), QStringLiteral("a.mp"));
    EXPECT_EQ(name(1, "ab.mp3"), QStringLiteral("ab"));
}

} // namespace
