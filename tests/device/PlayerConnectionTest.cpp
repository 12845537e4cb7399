// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "DeviceTestSupport.h"

using Tick = PlayerSession::TickOutcome;

TEST_F(PlayerFixture, FirstTickWithoutPlayerShowsDisconnectedAndEmptyPanels)
{
    fake.connection = 0;
    EXPECT_EQ(session.tick(), Tick::Disconnected);
    EXPECT_EQ(session.connectionText(), QStringLiteral("Not connected"));
    EXPECT_TRUE(session.capacityText().isEmpty());
    EXPECT_EQ(session.list().count(), 0);
    EXPECT_EQ(fake.callNames(), QStringList{QStringLiteral("TestConnection")});
}

TEST_F(PlayerFixture, UnchangedStateCostsOneCallPerTick)
{
    fake.connection = 0;
    session.tick();
    fake.calls.clear();
    EXPECT_EQ(session.tick(), Tick::Unchanged);
    EXPECT_EQ(session.tick(), Tick::Unchanged);
    EXPECT_EQ(fake.callNames(),
              (QStringList{QStringLiteral("TestConnection"), QStringLiteral("TestConnection")}));
}

TEST_F(PlayerFixture, PlugInOpensAndListsThenPullOutClosesOnce)
{
    addEntries({{"SONG", "MP3", 5000, "Song.mp3"}});
    fake.connection = 0;
    session.tick();
    fake.connection = 1;
    ASSERT_EQ(session.tick(), Tick::Connected);
    EXPECT_EQ(session.handle(), 7);
    EXPECT_EQ(session.connectionText(), QStringLiteral("Connected"));
    session.RefreshPlayerList();
    EXPECT_EQ(session.list().count(), 1);
    EXPECT_EQ(session.capacityText(), QStringLiteral("Memory: 119 MBytes / 122 MBytes"));

    fake.calls.clear();
    fake.connection = 0;
    EXPECT_EQ(session.tick(), Tick::Disconnected);
    EXPECT_EQ(session.tick(), Tick::Unchanged);
    ASSERT_EQ(fake.callsOf("Close").size(), 1u);
    EXPECT_EQ(fake.callsOf("Close")[0].numbers[0], 7);
    EXPECT_EQ(session.handle(), 0);
    EXPECT_EQ(session.freeBytes(), 0);
    EXPECT_TRUE(session.capacityText().isEmpty());
    EXPECT_EQ(session.list().count(), 0);
    EXPECT_EQ(session.connectionText(), QStringLiteral("Not connected"));
}

TEST_F(PlayerFixture, FailedOpenShowsDisconnectedAndIsNotRetriedUntilReplugged)
{
    fake.openSucceeds = false;
    EXPECT_EQ(session.tick(), Tick::Connected);
    EXPECT_EQ(session.handle(), 0);
    EXPECT_EQ(session.connectionText(), QStringLiteral("Not connected"));
    EXPECT_FALSE(session.RefreshPlayerList());
    session.tick();
    EXPECT_EQ(fake.callsOf("Open").size(), 1u);

    fake.openSucceeds = true;
    fake.connection = 0;
    session.tick();
    fake.connection = 1;
    session.tick();
    EXPECT_EQ(session.handle(), 7);
    EXPECT_TRUE(fake.callsOf("Close").empty()) << "a connection never opened is never closed";
}

TEST_F(PlayerFixture, ConnectionStateOtherThanOneCountsAsDetached)
{
    connect();
    fake.connection = 2;
    EXPECT_EQ(session.tick(), Tick::Disconnected);
    EXPECT_FALSE(session.isConnected());
}

TEST_F(PlayerFixture, OpenPlayerDoesNotOpenWhenNothingIsAttached)
{
    fake.connection = 0;
    EXPECT_EQ(session.OpenPlayer(), 0);
    EXPECT_TRUE(fake.callsOf("Open").empty());
}

TEST_F(PlayerFixture, ConnectPlayerKeepsAnOpenConnection)
{
    connect();
    session.ConnectPlayer();
    EXPECT_TRUE(fake.callsOf("Open").empty());
}

TEST(DeviceBinding, MissingLibraryIsOneClearErrorAndLeavesEverythingInert)
{
    mTCC730 library;
    EXPECT_FALSE(library.load(QStringLiteral("/nonexistent/libZVD_USB.so")));
    EXPECT_TRUE(library.error().contains(QStringLiteral("/nonexistent/libZVD_USB.so")));
    EXPECT_FALSE(library.isLoaded());
    int32_t handle = 5;
    EXPECT_EQ(library.TestConnection(), 0);
    EXPECT_FALSE(library.Open(handle));
    EXPECT_EQ(handle, 0);
}

TEST(DeviceBinding, LibraryLackingFunctionsNamesThemAndStaysInert)
{
    mTCC730 library;
    // Any shared library without the device functions will do.
    EXPECT_FALSE(library.load(QStringLiteral("libm.so.6")));
    EXPECT_TRUE(library.error().contains(QStringLiteral("TCC730_Open")));
    EXPECT_TRUE(library.error().contains(QStringLiteral("ConvertHexToBin")));
    EXPECT_EQ(library.TestConnection(), 0);
}

TEST(DeviceBinding, LibraryPathPrefersRequestThenEnvironmentThenProgramFolder)
{
    qputenv("ZVD_USB_LIBRARY", "/from/environment.so");
    EXPECT_EQ(mTCC730::libraryPath(QStringLiteral("/asked.so")), QStringLiteral("/asked.so"));
    EXPECT_EQ(mTCC730::libraryPath(), QStringLiteral("/from/environment.so"));
    qunsetenv("ZVD_USB_LIBRARY");
    EXPECT_TRUE(mTCC730::libraryPath().endsWith(QStringLiteral("/libZVD_USB.so")));
}
