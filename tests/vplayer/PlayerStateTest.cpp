// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/PlayerState.h"
#include "vplayer/MediumRecord.h"
#include "vplayer/StateFile.h"

#include <gtest/gtest.h>

namespace
{

// The program's capacity formula over the raw medium block, with its big-endian words.
struct Capacity {
    std::uint64_t total;
    std::uint64_t free;
};
Capacity programCapacity(const std::array<std::uint8_t, 32>& raw)
{
    const auto word = [&](int at) { return std::uint64_t(raw[at]) * 256 + raw[at + 1]; };
    const std::uint64_t unit = raw[28] * raw[27] * word(25);
    return {word(7) * unit, (word(7) - word(9)) * unit};
}

TEST(PlayerState, SerializedStateReadsBackWithOddNameBytes)
{
    PlayerState state;
    state.attached = true;
    state.generation = 7;
    state.geometry = *MediumGeometry::forCapacity(4ull << 30);
    state.nextBlob = 42;
    state.bytesPerSecond = 1000;
    state.firmwareName = "new fw.ZVF";
    state.firmwareSize = 8192;
    state.failures["Download"] = 2;
    state.appendEntry({"a b%c\xE9\x81.mp3", "AB_C_~1", "MP3", 1234, 40});
    state.appendEntry({"", "", "", 0, 41});
    const auto back = PlayerState::parse(StateFile::snapshot(state, 0x1234));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->serialize(), state.serialize());
    EXPECT_EQ(back->entries()[0].longName, state.entries()[0].longName);
    EXPECT_EQ(back->geometry, state.geometry);
    EXPECT_EQ(back->failures.at("Download"), 2u);
}

TEST(PlayerState, DamagedStateIsRefusedWhole)
{
    std::string good = StateFile::snapshot(PlayerState(), 0x1234);
    EXPECT_TRUE(PlayerState::parse(good));
    // Each bad line goes into the snapshot, before the line that ends it.
    good.resize(good.size() - std::string("journal\n").size());
    for (const std::string& line :
         {std::string("entry 1 2 :A :B\n"), std::string("entry 1 x :A :B :C\n"),
          std::string("entry 1 2 :A :B :%4\n"), std::string("geometry 0 512 8 4\n"),
          std::string("geometry 70000 512 8 4\n"), std::string("speed -1\n"), std::string("colour 3\n"),
          std::string("fail Open 0\n"), std::string("delete 0\n"), std::string("clear\n")})
        EXPECT_FALSE(PlayerState::parse(good + line + "journal\n")) << line;
    for (const std::string& bad : {std::string(), std::string("something else\n"),
                                   std::string("zvd-virtual-player 2 0000000000000000\njournal\n"), good})
        EXPECT_FALSE(PlayerState::parse(bad)) << bad;
}

// The name index of a state read from its file is built at the first name question, from the
// entries as they are then: changes replayed before it must count, changes after it must keep it.
TEST(PlayerState, NamesAreKnownWhetherChangedBeforeOrAfterTheFirstQuestion)
{
    PlayerState written;
    written.appendEntry({"One.mp3", "ONE", "MP3", 1, 1});
    written.appendEntry({"Two.mp3", "TWO", "MP3", 1, 2});
    written.appendEntry({"Three.mp3", "THREE", "MP3", 1, 3});
    auto state = PlayerState::parse(StateFile::snapshot(written, 0x1234));
    ASSERT_TRUE(state);
    ASSERT_TRUE(state->applyLine("delete 0", true));
    ASSERT_TRUE(state->applyLine("rename 0 :DUO :MP3 :Duo.mp3", true));
    EXPECT_FALSE(state->holdsLongName("one.MP3"));
    EXPECT_FALSE(state->holdsLongName("two.mp3"));
    EXPECT_TRUE(state->holdsLongName("DUO.mp3"));
    EXPECT_TRUE(state->holdsShortName({"three", "mp3"}));
    EXPECT_FALSE(state->holdsShortName({"TWO", "MP3"}));
    // Now indexed: later changes keep it right.
    state->eraseEntry(1);
    state->appendEntry({"Four.mp3", "FOUR", "MP3", 1, 4});
    EXPECT_FALSE(state->holdsLongName("three.mp3"));
    EXPECT_TRUE(state->holdsLongName("four.mp3"));
    EXPECT_EQ(state->makeShortName("Duo.mp3").base, "DUO~1");
    state->clearEntries();
    EXPECT_FALSE(state->holdsLongName("four.mp3"));
    state->appendEntry({"Five.mp3", "FIVE", "MP3", 1, 5});
    EXPECT_TRUE(state->holdsShortName({"FIVE", "MP3"}));
}

// Escapes anywhere in a name, and lines with a field too many, as a hand edit may leave them.
TEST(PlayerState, EscapedNamesAndOverlongLines)
{
    PlayerState state;
    EXPECT_TRUE(state.applyLine("entry 1 2 :%41 :%42 :%25x%20y%", false) == false);
    EXPECT_TRUE(state.applyLine("entry 1 2 :%41 :%42 :%25x%20y%7E", false));
    ASSERT_EQ(state.entries().size(), 1u);
    EXPECT_EQ(state.entries()[0].longName, "%x y~");
    EXPECT_EQ(state.entries()[0].shortBase, "A");
    EXPECT_FALSE(state.applyLine("entry 1 2 :A :B :C :D", false));
    EXPECT_FALSE(state.applyLine("entry 1 2 :A :B :C%g0", false));
    EXPECT_FALSE(state.applyLine("geometry 7800 16384 1 1 1 1 1 1", false));
    EXPECT_FALSE(state.applyLine("speed 1 2 3 4 5 6 7", false));
    EXPECT_EQ(state.entries().size(), 1u);
}

TEST(PlayerState, SpaceIsCountedInWholeUnits)
{
    PlayerState state;
    EXPECT_EQ(state.geometry.unitBytes(), 16384u);
    state.appendEntry({"a", "A", "", 1, 1});
    state.appendEntry({"b", "B", "", 16384, 2});
    state.appendEntry({"c", "C", "", 16385, 3});
    state.appendEntry({"d", "D", "", 0, 4});
    EXPECT_EQ(state.unitsInUse(), 4u);
    EXPECT_EQ(state.freeBytes(), (7800u - 4u) * 16384u);
}

TEST(PlayerState, MediumBlockGivesProgramTheStockCapacity)
{
    PlayerState state;
    state.appendEntry({"x", "X", "", 200 * 16384, 1});
    const auto raw = MediumRecord::raw(state);
    const Capacity capacity = programCapacity(raw);
    EXPECT_EQ(capacity.total, 127795200u);
    EXPECT_EQ(capacity.free, 124518400u);
    EXPECT_EQ(raw[5] * 256 + raw[6], 1); // entry count
}

TEST(PlayerState, LargeMediaKeepUnitCountWithin16Bits)
{
    for (const std::uint64_t bytes :
         {std::uint64_t(1) << 30, std::uint64_t(3) << 30, std::uint64_t(30) << 30}) {
        const auto geometry = MediumGeometry::forCapacity(bytes);
        ASSERT_TRUE(geometry) << bytes;
        PlayerState state;
        state.geometry = *geometry;
        const Capacity capacity = programCapacity(MediumRecord::raw(state));
        EXPECT_LE(capacity.total, bytes);
        EXPECT_GT(capacity.total, bytes - geometry->unitBytes());
        EXPECT_EQ(capacity.free, capacity.total);
    }
    EXPECT_EQ(MediumGeometry::forCapacity(127795200)->unitCount, 7800);
    EXPECT_FALSE(MediumGeometry::forCapacity(16383));
    EXPECT_FALSE(MediumGeometry::forCapacity(std::uint64_t(40) << 30));
}

TEST(PlayerState, InjectedFailureHitsOnlyTheNthCall)
{
    PlayerState state;
    state.failures["Delete"] = 3;
    EXPECT_FALSE(state.takeFailure("Delete"));
    EXPECT_FALSE(state.takeFailure("Download"));
    EXPECT_FALSE(state.takeFailure("Delete"));
    EXPECT_TRUE(state.takeFailure("Delete"));
    EXPECT_FALSE(state.takeFailure("Delete"));
    EXPECT_TRUE(state.failures.empty());
}

} // namespace
