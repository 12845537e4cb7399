// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "PlayerLibrary.h"
#include "TestEnvironment.h"
#include "vplayer/FileSystem.h"
#include "vplayer/PlayerControl.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

class SharedPlayer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lib.loaded());
        ASSERT_EQ(PlayerControl::attach(store), "");
        ASSERT_EQ(lib.TCC730_Open(&handle), 1);
    }
    std::size_t dataFiles() const
    {
        return QDir(QString::fromStdString(fixture.playerFolder() + "/data")).entryList(QDir::Files).size();
    }

    PlayerFixture fixture;
    PlayerStore store{fixture.playerFolder()};
    PlayerLibrary lib;
    std::int32_t handle = 0;
};

// Names whose short forms all collide, so two writers racing for "TRACKN~k" would show at once.
std::string trackName(const char* who, int n)
{
    return std::string("Track number ") + who + std::to_string(n) + ".mp3";
}

TEST_F(SharedPlayer, TwoProcessesDownloadingAtOnceLoseNothing)
{
    constexpr int kEach = 25;
    for (int n = 0; n < kEach; ++n) {
        fixture.pcFile(trackName("A", n), std::string(100 + n, 'a'));
        fixture.pcFile(trackName("B", n), std::string(100 + n, 'b'));
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child opens its own connection, as a second program would.
        std::int32_t own = 0;
        int failures = lib.TCC730_Open(&own) == 1 ? 0 : 100;
        for (int n = 0; n < kEach; ++n)
            failures +=
                lib.TCC730_Download(nullptr, own, 0, fixture.pcPath(trackName("B", n)).c_str()) == 1 ? 0 : 1;
        ::_exit(failures);
    }
    int failures = 0;
    int tornStates = 0;
    for (int n = 0; n < kEach; ++n) {
        failures +=
            lib.TCC730_Download(nullptr, handle, 0, fixture.pcPath(trackName("A", n)).c_str()) == 1 ? 0 : 1;
        // Every state a reader meets between the writes is whole, even without the lock.
        const auto text = FileSystem::readFile(fixture.playerFolder() + "/state", 1 << 20);
        tornStates += text && PlayerState::parse(*text) ? 0 : 1;
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(tornStates, 0);

    const auto listed = lib.list(handle);
    ASSERT_EQ(listed.size(), std::size_t(2 * kEach));
    std::set<std::string> shortNames;
    for (const ListedEntry& e : listed)
        shortNames.insert(e.shortName);
    EXPECT_EQ(shortNames.size(), listed.size());
    EXPECT_EQ(dataFiles(), listed.size());
}

TEST_F(SharedPlayer, ZvdsimRecordsWhileTheLibraryDeletes)
{
    constexpr int kFiles = 12;
    for (int n = 0; n < kFiles; ++n)
        ASSERT_EQ(
            lib.TCC730_Download(nullptr, handle, 0, fixture.pcFile("f" + std::to_string(n), "x").c_str()), 1);
    QProcess recorder;
    recorder.start(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"),
                    QStringLiteral("for i in 1 2 3 4 5 6 7 8; do \"$0\" record memo$i || exit 1; done"),
                    QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdsim"))});
    ASSERT_TRUE(recorder.waitForStarted());
    // Deleting from the front by name; a recording appended meanwhile never shifts the front.
    for (int n = 0; n < kFiles; ++n)
        EXPECT_EQ(lib.TCC730_Delete(nullptr, handle, 0, 0, ("f" + std::to_string(n)).c_str()), 1) << n;
    ASSERT_TRUE(recorder.waitForFinished(60000));
    EXPECT_EQ(recorder.exitCode(), 0);
    const auto listed = lib.list(handle);
    ASSERT_EQ(listed.size(), 8u);
    for (const ListedEntry& e : listed)
        EXPECT_EQ(e.shortName.substr(e.shortName.size() - 4), ".ZVD");
    EXPECT_EQ(dataFiles(), 8u);
}

TEST_F(SharedPlayer, SlowLinkPacesTransfersAndDetachEndsThemCleanly)
{
    ASSERT_EQ(PlayerControl::setSpeed(store, 20000), "");
    const std::string path = fixture.pcFile("slow.bin", std::string(6000, 's'));
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(lib.TCC730_Download(nullptr, handle, 0, path.c_str()), 1);
    EXPECT_GE(timer.elapsed(), 250);

    ASSERT_EQ(PlayerControl::setSpeed(store, 2000), "");
    const std::string big = fixture.pcFile("pulled.bin", std::string(8000, 'p'));
    std::thread puller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        PlayerControl::detach(store);
    });
    EXPECT_EQ(lib.TCC730_Download(nullptr, handle, 0, big.c_str()), 0);
    puller.join();
    ASSERT_EQ(PlayerControl::attach(store), "");
    ASSERT_EQ(PlayerControl::setSpeed(store, 0), "");
    ASSERT_EQ(lib.TCC730_Open(&handle), 1);
    const auto listed = lib.list(handle);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].longName, "slow.bin");
    EXPECT_EQ(dataFiles(), 1u);
}

} // namespace
