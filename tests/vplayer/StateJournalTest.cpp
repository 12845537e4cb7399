// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The state file's journal: every change replays to the state that made it, a cut anywhere in
// the journal opens at the last whole change, damage is refused, killed writers leave a state
// the next open reads, and processes see each other's changes through their cached states.
#include "PlayerLibrary.h"
#include "vplayer/FileSystem.h"
#include "vplayer/PlayerControl.h"
#include "vplayer/StateFile.h"
#include "vplayer/VirtualPlayer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

class StateJournal : public ::testing::Test
{
protected:
    std::string stateText() const { return FileSystem::readFile(store.statePath(), 1 << 26).value_or(""); }
    void writeState(const std::string& text) const
    {
        ASSERT_TRUE(FileSystem::writeFileAtomic(store.statePath(), text));
    }
    std::string put(const std::string& name, std::size_t bytes = 10)
    {
        return VirtualPlayer(store).download(fixture.pcFile(name, std::string(bytes, 'x')), Access::player());
    }
    // The state a fresh reader of the file gets, as text.
    std::string reread() const
    {
        const auto state = PlayerState::parse(stateText());
        return state ? state->serialize() : "unreadable";
    }
    std::string live() const
    {
        const auto state = store.read();
        return state ? state->serialize() : "unreadable";
    }

    PlayerFixture fixture;
    PlayerStore store{fixture.playerFolder()};
};

TEST_F(StateJournal, EveryKindOfChangeReplaysToTheStateThatMadeIt)
{
    const VirtualPlayer player(store);
    ASSERT_EQ(PlayerControl::attach(store), "");
    for (const char* name : {"One.mp3", "Two.mp3", "Three long name.mp3", "Three long name 2.mp3", "x"})
        ASSERT_EQ(put(name), "") << name;
    ASSERT_EQ(player.swap(1, 2, Access::player()), "");
    ASSERT_EQ(player.rename(0, "Renamed song.mp3", {"ONE", "MP3"}, Access::player()), "");
    ASSERT_EQ(player.remove(3, "", Access::player()), "");
    ASSERT_EQ(PlayerControl::armFailure(store, "Delete", 3), "");
    ASSERT_EQ(PlayerControl::armFailure(store, "Open", 2), "");
    ASSERT_EQ(PlayerControl::armFailure(store, "Delete", 0), "");
    ASSERT_EQ(PlayerControl::setSpeed(store, 1234), "");
    const std::string image = fixture.pcFile("image.bin", "firmware bytes");
    ASSERT_EQ(player.upgradeFirmware(image, "NEW.ZVF", Access::player()), "");
    EXPECT_NE(stateText().find("\nrecord "), std::string::npos);
    EXPECT_EQ(reread(), live());
    EXPECT_NE(live().find("Renamed%20song.mp3"), std::string::npos);
    EXPECT_EQ(live().find("fail Delete"), std::string::npos);

    ASSERT_EQ(player.format(false, Access::player()), "");
    ASSERT_EQ(put("after format"), "");
    EXPECT_EQ(reread(), live());
    ASSERT_EQ(PlayerControl::reset(store, std::nullopt), "");
    EXPECT_EQ(reread(), live());
    EXPECT_EQ(live().find("firmware"), std::string::npos);
}

TEST_F(StateJournal, EveryCutOfTheJournalOpensAtTheLastWholeChange)
{
    ASSERT_EQ(put("first"), "");
    const auto start = StateFile::parse(stateText());
    ASSERT_TRUE(start);
    // The file's length and state after each change; a cut opens at the last one it keeps.
    std::vector<std::pair<std::size_t, std::string>> after{{stateText().size(), reread()}};
    const VirtualPlayer player(store);
    for (int n = 0; n < 4; ++n) {
        ASSERT_EQ(put("song " + std::to_string(n) + ".mp3"), "");
        after.emplace_back(stateText().size(), reread());
    }
    ASSERT_EQ(player.remove(1, "", Access::player()), "");
    after.emplace_back(stateText().size(), reread());
    ASSERT_EQ(player.swap(0, 1, Access::player()), "");
    after.emplace_back(stateText().size(), reread());
    const std::string whole = stateText();
    ASSERT_EQ(StateFile::parse(whole)->epoch, start->epoch) << "no rewrite expected here";

    std::size_t change = 0;
    for (std::size_t cut = after.front().first; cut <= whole.size(); ++cut) {
        while (change + 1 < after.size() && after[change + 1].first <= cut)
            ++change;
        const auto state = PlayerState::parse(std::string_view(whole).substr(0, cut));
        ASSERT_TRUE(state) << "cut at " << cut;
        ASSERT_EQ(state->serialize(), after[change].second) << "cut at " << cut;
    }

    // The next writer cuts a torn record off before it appends its own.
    writeState(whole.substr(0, whole.size() - 3));
    ASSERT_EQ(put("after the cut"), "");
    const std::string mended = stateText();
    EXPECT_TRUE(PlayerState::parse(mended));
    EXPECT_NE(mended.find("after%20the%20cut"), std::string::npos);
    EXPECT_EQ(store.read()->entries().size(), 5u); // the swap was lost with its record
}

TEST_F(StateJournal, DamageIsRefusedUntilReset)
{
    ASSERT_EQ(put("a"), "");
    ASSERT_EQ(put("b"), "");
    const std::string whole = stateText();
    const std::size_t journal = whole.find("journal\n") + 8;
    const std::size_t lastRecord = whole.rfind("record ");
    ASSERT_GE(lastRecord, journal);

    std::string flipped = whole;
    flipped[whole.size() - 2] ^= 1; // inside the last record's lines: its checksum fails
    std::string unknown = whole + "entry broken\n";
    std::string noEnd = whole.substr(0, journal - 8); // a snapshot cut before its end
    // A record that claims fewer bytes than it holds: its checksum fails.
    std::string lying = whole;
    const std::size_t count = lastRecord + 7;
    lying.replace(count, whole.find(' ', count) - count, "1");
    for (const std::string& bad : {flipped, unknown, noEnd, lying, std::string("zvd-virtual-player 2\n")}) {
        writeState(bad);
        EXPECT_FALSE(PlayerState::parse(bad));
        std::string error;
        EXPECT_FALSE(store.read(&error));
        EXPECT_NE(error.find("damaged"), std::string::npos) << error;
        EXPECT_NE(put("refused"), "");
    }
    ASSERT_EQ(PlayerControl::reset(store, std::nullopt), "");
    EXPECT_EQ(store.read()->entries().size(), 0u);
    EXPECT_EQ(put("again"), "");
}

TEST_F(StateJournal, FirstFormatIsReadAndRewrittenInTheCurrentOne)
{
    ASSERT_TRUE(FileSystem::makeDirectories(fixture.playerFolder()));
    writeState("zvd-virtual-player 1\nattached 1\ngeneration 4\ngeometry 7800 512 8 4\nnext-blob 3\n"
               "speed 0\nfail Open 2\nentry 1 100 :OLD :MP3 :old.mp3\nentry 2 5 :B :TXT :b.txt\n");
    const auto state = store.read();
    ASSERT_TRUE(state);
    ASSERT_EQ(state->entries().size(), 2u);
    EXPECT_EQ(state->entries()[0].longName, "old.mp3");
    EXPECT_EQ(state->failures.at("Open"), 2u);
    EXPECT_TRUE(StateFile::epochOf(stateText()));
    EXPECT_EQ(reread(), state->serialize());
}

TEST_F(StateJournal, JournalIsFoldedIntoASnapshotOnceItOutgrowsIt)
{
    ASSERT_EQ(put("keep.mp3"), "");
    const VirtualPlayer player(store);
    std::set<std::uint64_t> epochs;
    for (int n = 0; n < 600; ++n) {
        ASSERT_EQ(put("passing through with a long name " + std::to_string(n) + ".mp3"), "");
        ASSERT_EQ(player.remove(1, "", Access::player()), "");
        epochs.insert(StateFile::epochOf(stateText()).value_or(0));
    }
    EXPECT_GT(epochs.size(), 1u);
    EXPECT_LT(stateText().size(), 200u * 1024);
    EXPECT_EQ(store.read()->entries().size(), 1u);
    EXPECT_EQ(reread(), live());
}

// Another process's changes reach this one's cached state, whether it appended records or
// rewrote the file.
TEST_F(StateJournal, ChangesOfAnotherProcessAreSeen)
{
    ASSERT_EQ(put("mine.mp3"), "");
    ASSERT_EQ(store.read()->entries().size(), 1u);
    const auto inChild = [&](const std::function<void()>& work) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            work();
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
    };
    inChild([&] { put("theirs.mp3"); });
    auto state = store.read();
    ASSERT_EQ(state->entries().size(), 2u);
    EXPECT_EQ(state->entries()[1].longName, "theirs.mp3");
    inChild([&] { PlayerControl::reset(store, std::nullopt); });
    EXPECT_EQ(store.read()->entries().size(), 0u);
    // Same epoch, same length, other content would fool the check; a fresh epoch never does.
    inChild([&] { put("third.mp3"); });
    EXPECT_EQ(store.read()->entries()[0].longName, "third.mp3");
}

// A writer killed at any moment (appending, rewriting, moving a data file) leaves a state the
// next open reads, with data behind every entry; the player goes on working.
TEST_F(StateJournal, KilledWriterLeavesAStateTheNextOpenReads)
{
    ASSERT_EQ(PlayerControl::attach(store), "");
    for (int n = 0; n < 40; ++n)
        fixture.pcFile("file " + std::to_string(n) + " with a long name.mp3", std::string(200 + n, 'k'));
    std::mt19937 random(7);
    for (int round = 0; round < 15; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const VirtualPlayer player(store);
            for (unsigned n = 0;; ++n) {
                player.download(fixture.pcPath("file " + std::to_string(n % 40) + " with a long name.mp3"),
                                Access::player());
                if (n % 3 == 2)
                    player.remove(0, "", Access::player());
            }
        }
        ::usleep(useconds_t(2000 + random() % 30000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        std::string error;
        const auto state = store.read(&error);
        ASSERT_TRUE(state) << "round " << round << ": " << error;
        std::set<std::string> names;
        for (const StoredEntry& entry : state->entries()) {
            EXPECT_TRUE(FileSystem::exists(store.blobPath(entry.blob))) << entry.longName;
            EXPECT_TRUE(names.insert(entry.shortName()).second) << entry.shortName();
        }
        EXPECT_EQ(reread(), state->serialize());
    }
    EXPECT_EQ(put("still working.mp3"), "");
}

} // namespace
