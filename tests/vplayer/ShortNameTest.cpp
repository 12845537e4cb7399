// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "ShortName.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{

// Makes short names as the player does for a series of long names stored one after another.
class ShortNames
{
public:
    std::string add(const std::string& longName)
    {
        const ShortName::Name name = ShortName::make(longName, [this](const ShortName::Name& candidate) {
            return m_taken.count(candidate.base + "." + candidate.extension) > 0;
        });
        const std::string full = name.base + "." + name.extension;
        m_taken.insert(full);
        return full;
    }

private:
    std::set<std::string> m_taken;
};

TEST(ShortName, FittingNameIsUpperCasedWithoutTail)
{
    ShortNames names;
    EXPECT_EQ(names.add("song.mp3"), "SONG.MP3");
    EXPECT_EQ(names.add("REC001.ZVD"), "REC001.ZVD");
    EXPECT_EQ(names.add("README"), "README.");
}

TEST(ShortName, LongOrLossyNamesGetNumericTail)
{
    ShortNames names;
    EXPECT_EQ(names.add("My Favourite Song.mp3"), "MYFAVO~1.MP3");
    EXPECT_EQ(names.add("a b.txt"), "AB~1.TXT");
    EXPECT_EQ(names.add("archive.tar.gz"), "ARCHIV~1.GZ");
    EXPECT_EQ(names.add("notes.markdown"), "NOTES~1.MAR");
    EXPECT_EQ(names.add("x+y.txt"), "X_Y~1.TXT");
    EXPECT_EQ(names.add(".profile"), "PROFIL~1.");
    EXPECT_EQ(names.add("caf\xE9.mp3"), "CAF_~1.MP3");
}

TEST(ShortName, CollisionsCountUpAndShortenTheBase)
{
    ShortNames names;
    EXPECT_EQ(names.add("Song.mp3"), "SONG.MP3");
    EXPECT_EQ(names.add("SONG.Mp3"), "SONG~1.MP3");
    EXPECT_EQ(names.add("song.MP3"), "SONG~2.MP3");
    for (int i = 1; i <= 9; ++i)
        names.add("Holiday recording " + std::to_string(i) + ".zvd");
    EXPECT_EQ(names.add("Holiday recording 10.zvd"), "HOLID~10.ZVD");
}

TEST(ShortName, LongNameValidity)
{
    EXPECT_TRUE(ShortName::isValidLongName("a.mp3"));
    EXPECT_TRUE(ShortName::isValidLongName(std::string(255, 'x')));
    EXPECT_FALSE(ShortName::isValidLongName(std::string(256, 'x')));
    EXPECT_FALSE(ShortName::isValidLongName(""));
    EXPECT_FALSE(ShortName::isValidLongName(". ."));
    for (const char* bad : {"a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a|b", "a\tb"})
        EXPECT_FALSE(ShortName::isValidLongName(bad)) << bad;
}

} // namespace
