// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/ShortName.h"
#include "vplayer/PlayerState.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

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

// The player's indexed names (with tail hints) against a plain search of every entry, over a
// long random run of stores, deletions and renames among names that share stems, with tails
// past 9 and 99 where the stem gets shorter.
TEST(ShortName, HintedNamesAreTheSmallestFreeTailAsAPlainSearchFindsIt)
{
    std::mt19937 random(11);
    const std::vector<std::string> stems = {
        "Holiday recording ", "Holiday rec", "Holida", "HOLIDAY x", "Song ", "a b", "Holiday"};
    PlayerState state;
    const auto plain = [&](const std::string& longName, const StoredEntry* self) {
        return ShortName::make(longName, [&](const ShortName::Name& candidate) {
            for (const StoredEntry& e : state.entries())
                if (&e != self && e.shortBase == candidate.base && e.shortExtension == candidate.extension)
                    return true;
            return false;
        });
    };
    for (int step = 0; step < 6000; ++step) {
        const std::string longName = stems[random() % stems.size()] + std::to_string(random() % 400) +
                                     (random() % 2 ? ".zvd" : ".mp3");
        const unsigned action = random() % 10;
        if (state.holdsLongName(longName))
            continue;
        if (action < 6 || state.entries().empty()) {
            const ShortName::Name expected = plain(longName, nullptr);
            const ShortName::Name made = state.makeShortName(longName);
            ASSERT_EQ(made.base + "." + made.extension, expected.base + "." + expected.extension) << step;
            state.appendEntry({longName, made.base, made.extension, 1, std::uint64_t(step)});
        } else if (action < 9) {
            state.eraseEntry(random() % state.entries().size());
        } else {
            const std::size_t at = random() % state.entries().size();
            const StoredEntry* self = &state.entries()[at];
            const ShortName::Name expected = plain(longName, self);
            const ShortName::Name made = state.makeShortName(longName, self);
            ASSERT_EQ(made.base + "." + made.extension, expected.base + "." + expected.extension) << step;
            state.renameEntry(at, longName, made);
        }
    }
    EXPECT_GT(state.entries().size(), 200u);
}

TEST(ShortName, IndexedNamesIgnoreCaseAndTheEntryItself)
{
    PlayerState state;
    state.appendEntry({"Song.mp3", "SONG", "MP3", 20000, 1});
    state.appendEntry({"other", "OTHER", "", 1, 2});
    EXPECT_TRUE(state.holdsLongName("SONG.MP3"));
    EXPECT_FALSE(state.holdsLongName("SONG.MP3", &state.entries()[0]));
    EXPECT_TRUE(state.holdsLongName("Other", &state.entries()[0]));
    EXPECT_TRUE(state.holdsShortName({"song", "mp3"}));
    EXPECT_FALSE(state.holdsShortName({"SONG", "MP3"}, &state.entries()[0]));
    EXPECT_EQ(state.unitsInUse(), 3u);
    state.geometry = *MediumGeometry::forCapacity(4ull << 30);
    EXPECT_EQ(state.unitsInUse(), 2u); // recounted in the larger units
    state.eraseEntry(0);
    EXPECT_FALSE(state.holdsLongName("song.mp3"));
    EXPECT_EQ(state.unitsInUse(), 1u);
    state.clearEntries();
    EXPECT_EQ(state.unitsInUse(), 0u);
    EXPECT_FALSE(state.holdsShortName({"OTHER", ""}));
}

} // namespace
