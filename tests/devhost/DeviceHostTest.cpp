// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The device library through a real host process: every function gives what loading the library
// directly gives, byte for byte; a host that is killed, ends, answers garbage or speaks another
// version stops with one clear reason, never hangs, and the poll after next starts a new host.
#include "device/DeviceHost.h"
#include "TestEnvironment.h"
#include "device/mTCC730.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <thread>
#include <vector>

namespace
{

QString bin(const QString& name)
{
    return TestEnvironment::binDir() + QLatin1Char('/') + name;
}
QString fakeHost(const QString& mode)
{
    return QStringLiteral("\"%1\" %2")
        .arg(TestEnvironment::binDir() + QStringLiteral("/../tests/devhost_fake"), mode);
}
QString nativeHost()
{
    return QStringLiteral("\"%1\" \"%2\"")
        .arg(bin(QStringLiteral("zvd-devhost")), bin(QStringLiteral("libZVD_USB.so")));
}

bool zvdsim(const QString& player, const QStringList& args)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZVD_PLAYER_DIR"), player);
    process.setProcessEnvironment(environment);
    process.start(bin(QStringLiteral("zvdsim")), args);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Appends a call's outcome to the transcript.
void note(QByteArray& transcript, const char* what, bool status, const void* data = nullptr, int size = 0)
{
    transcript += what;
    transcript += status ? "=1 " : "=0 ";
    if (data)
        transcript += QByteArray(static_cast<const char*>(data), size).toHex() + ' ';
    transcript += '\n';
}

// Every function of the library once or more, on a fresh attached player; what each returned.
QByteArray exercise(mTCC730& library, const QString& files)
{
    QByteArray t;
    library.StartDLL();
    note(t, "TestConnection", library.TestConnection() == 1);
    int32_t handle = 0;
    note(t, "Open", library.Open(handle), &handle, 4);
    MediumInfo info{};
    note(t, "GetMediumInfo", library.GetMediumInfo(handle, 0, info), info.bytes, sizeof info.bytes);
    for (const char* name : {"one.bin", "two.mp3", "three.txt"}) {
        write(files + QLatin1Char('/') + QLatin1String(name), QByteArray(int(qstrlen(name)) * 777, name[1]));
        note(t, "Download",
             library.Download(nullptr, handle, 0, files + QLatin1Char('/') + QLatin1String(name)));
    }
    int32_t total = -1;
    int32_t count = 0;
    note(t, "Refresh(0)", library.Refresh(handle, 0, total, nullptr, count), &total, 4);
    PlayerEntry entries[8] = {};
    count = 8;
    note(t, "Refresh", library.Refresh(handle, 0, total, entries, count), entries, int(sizeof entries));
    t += QByteArray::number(total) + ' ' + QByteArray::number(count) + '\n';
    count = 2;
    note(t, "Refresh(2)", library.Refresh(handle, 0, total, entries, count), entries, int(sizeof entries));
    PlayerEntry renamed = entries[1];
    note(t, "Rename", library.Rename(handle, 0, 1, QStringLiteral("Renamed.mp3"), renamed), renamed.bytes,
         300);
    note(t, "Replace", library.Replace(handle, 0, 0, 1));
    note(t, "Replace(bad)", library.Replace(handle, 0, 7, 8));
    count = 8;
    note(t, "Refresh", library.Refresh(handle, 0, total, entries, count), entries, int(sizeof entries));
    const QString fetched = files + QStringLiteral("/fetched");
    note(t, "Upload", library.Upload(nullptr, handle, 0, 2, fetched, QStringLiteral("three.txt"), 9 * 777));
    t += readAll(fetched).toHex() + '\n';
    note(t, "Delete", library.Delete(nullptr, handle, 0, 0, QStringLiteral("Renamed.mp3")));
    note(t, "Delete(bad)", library.Delete(nullptr, handle, 0, 40, QStringLiteral("none")));
    write(files + QStringLiteral("/fw.hex"),
          ":10000000000102030405060708090A0B0C0D0E0F78\r\n:00000001FF\r\n");
    const QString image = files + QStringLiteral("/image.bin");
    note(t, "ConvertHexToBin", library.ConvertHexToBin(files + QStringLiteral("/fw.hex"), image, 0x8000));
    t += readAll(image).toHex() + '\n';
    note(t, "UpgradeFirmware",
         library.UpgradeFirmware(nullptr, handle, 0, image, files + QStringLiteral("/fw.hex")));
    note(t, "Format", library.Format(nullptr, handle, 0));
    note(t, "FormatLow", library.FormatLow(nullptr, handle, 0));
    info = {};
    note(t, "GetMediumInfo", library.GetMediumInfo(handle, 0, info), info.bytes, sizeof info.bytes);
    library.Close(handle);
    note(t, "GetMediumInfo(closed)", library.GetMediumInfo(handle, 0, info));
    library.ExitDLL();
    return t;
}

class DeviceHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        player = dir.filePath(QStringLiteral("player"));
        ASSERT_TRUE(zvdsim(player, {QStringLiteral("reset")}) && zvdsim(player, {QStringLiteral("attach")}));
        qputenv("ZVD_PLAYER_DIR", QFile::encodeName(player));
    }

    QTemporaryDir dir;
    QString player;
};

TEST_F(DeviceHostTest, EveryFunctionThroughTheHostGivesWhatTheLibraryGivesDirectly)
{
    // Two fresh players, one served by the host (which reads ZVD_PLAYER_DIR when it starts), one
    // by the library loaded here.
    QDir(dir.path()).mkpath(QStringLiteral("host-files"));
    QDir(dir.path()).mkpath(QStringLiteral("direct-files"));
    ASSERT_TRUE(DeviceHost::instance().start(nativeHost()))
        << DeviceHost::instance().stopReason().toStdString();
    mTCC730 hosted(DeviceHost::functions());
    const QByteArray throughHost = exercise(hosted, dir.filePath(QStringLiteral("host-files")));

    const QString directPlayer = dir.filePath(QStringLiteral("direct"));
    ASSERT_TRUE(zvdsim(directPlayer, {QStringLiteral("reset")}) &&
                zvdsim(directPlayer, {QStringLiteral("attach")}));
    qputenv("ZVD_PLAYER_DIR", QFile::encodeName(directPlayer));
    mTCC730 direct;
    ASSERT_TRUE(direct.load(bin(QStringLiteral("libZVD_USB.so")))) << direct.error().toStdString();
    const QByteArray loaded = exercise(direct, dir.filePath(QStringLiteral("direct-files")));

    EXPECT_EQ(throughHost.toStdString(), loaded.toStdString());
    EXPECT_TRUE(throughHost.contains("TestConnection=1"));
    EXPECT_TRUE(throughHost.contains("Upload=1"));
    EXPECT_TRUE(throughHost.contains("Replace(bad)=0"));
    EXPECT_EQ(DeviceHost::instance().processId() != 0, true);
    DeviceHost::instance().shutDown();
}

TEST_F(DeviceHostTest, LoadingThroughTheHostCommandMakesTheBindingUseIt)
{
    DeviceHost::setCommand(nativeHost());
    mTCC730 library;
    const bool loaded = library.load(QStringLiteral("/ignored/when/a/host/is/named.so"));
    DeviceHost::setCommand(QString());
    ASSERT_TRUE(loaded) << library.error().toStdString();
    EXPECT_NE(DeviceHost::instance().processId(), 0);
    library.StartDLL();
    EXPECT_EQ(library.TestConnection(), 1);
    ASSERT_TRUE(zvdsim(player, {QStringLiteral("detach")}));
    EXPECT_EQ(library.TestConnection(), 0);
    DeviceHost::instance().shutDown();
}

TEST_F(DeviceHostTest, HostKilledMidCallFailsTheCallAndTheSecondPollStartsANewHost)
{
    DeviceHost& host = DeviceHost::instance();
    ASSERT_TRUE(host.start(nativeHost()));
    mTCC730 library(DeviceHost::functions());
    library.StartDLL();
    int32_t handle = 0;
    ASSERT_TRUE(library.Open(handle));
    // A slow link makes the send last many seconds; the host is killed a moment into it.
    ASSERT_TRUE(zvdsim(player, {QStringLiteral("speed"), QStringLiteral("200000")}));
    const QString song = dir.filePath(QStringLiteral("big.bin"));
    write(song, QByteArray(4 * 1024 * 1024, 'b'));
    const qint64 pid = host.processId();
    ASSERT_NE(pid, 0);
    const int stopsBefore = host.hasStopped() ? 1 : 0;
    std::thread killer([pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(pid_t(pid), SIGKILL);
    });
    QElapsedTimer timer;
    timer.start();
    const bool sent = library.Download(nullptr, handle, 0, song);
    killer.join();
    EXPECT_FALSE(sent);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_TRUE(host.hasStopped() || stopsBefore);
    EXPECT_TRUE(host.stopReason().startsWith(QStringLiteral("the device host stopped: ")));
    EXPECT_TRUE(host.stopReason().contains(QStringLiteral("killed"))) << host.stopReason().toStdString();
    // Every call fails while no host runs; the first poll shows no player.
    EXPECT_FALSE(library.Open(handle));
    EXPECT_EQ(library.TestConnection(), 0);
    ASSERT_TRUE(zvdsim(player, {QStringLiteral("speed"), QStringLiteral("0")}));
    // The next poll starts a new host, whose library is started again, and finds the player.
    EXPECT_EQ(library.TestConnection(), 1);
    EXPECT_NE(host.processId(), pid);
    EXPECT_TRUE(library.Open(handle));
    host.shutDown();
}

// The window starts the host on its own thread and makes a transfer's calls on a worker, while
// the poll may ask from its thread: every call, from any thread, gets its own reply. A host that
// stops under a worker is restarted by the starting thread's poll only (on Linux a host ends
// with the thread that started it).
TEST_F(DeviceHostTest, CallsFromOtherThreadsGetTheirOwnRepliesAndOnlyTheStartingThreadRestarts)
{
    DeviceHost& host = DeviceHost::instance();
    ASSERT_TRUE(host.start(nativeHost())) << host.stopReason().toStdString();
    mTCC730 library(DeviceHost::functions());
    library.StartDLL();
    int32_t handle = 0;
    ASSERT_TRUE(library.Open(handle));
    MediumInfo expected{};
    ASSERT_TRUE(library.GetMediumInfo(handle, 0, expected));

    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 150; ++i) {
                MediumInfo info{};
                if (library.TestConnection() != 1 || !library.GetMediumInfo(handle, 0, info) ||
                    std::memcmp(info.bytes, expected.bytes, sizeof info.bytes) != 0)
                    ++failures;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
    EXPECT_FALSE(host.hasStopped() && host.processId() == 0) << host.stopReason().toStdString();

    const qint64 pid = host.processId();
    ASSERT_NE(pid, 0);
    ::kill(pid_t(pid), SIGKILL);
    std::thread worker([&] {
        int32_t again = 0;
        EXPECT_FALSE(library.Open(again)) << "the host is gone";
        for (int poll = 0; poll < 3; ++poll)
            EXPECT_EQ(library.TestConnection(), 0) << "a worker starts no host";
        EXPECT_EQ(host.processId(), 0);
    });
    worker.join();
    EXPECT_EQ(library.TestConnection(), 0) << "the starting thread's first poll shows no player";
    EXPECT_EQ(library.TestConnection(), 1) << "and its next one starts a new host";
    EXPECT_NE(host.processId(), 0);
    host.shutDown();
}

TEST_F(DeviceHostTest, MisbehavingHostsStopWithOneClearReason)
{
    struct Case {
        const char* mode;
        bool greets;
        const char* reason;
    };
    for (const Case& c :
         {Case{"garbage", false, "not a reply"}, Case{"version", false, "protocol version 7"},
          Case{"wrong-reply", true, "not a reply"}, Case{"short-reply", true, "not a reply"},
          Case{"huge", true, "not a reply"}, Case{"exit-in-call", true, "ended with status 7"}}) {
        DeviceHost& host = DeviceHost::instance();
        const bool started = host.start(fakeHost(QLatin1String(c.mode)));
        EXPECT_EQ(started, c.greets) << c.mode;
        if (started) {
            mTCC730 library(DeviceHost::functions());
            int32_t handle = 99;
            EXPECT_FALSE(library.Open(handle)) << c.mode;
            EXPECT_EQ(handle, 0) << c.mode;
            EXPECT_FALSE(library.Replace(1, 0, 0, 1)) << c.mode;
        }
        EXPECT_TRUE(host.stopReason().startsWith(QStringLiteral("the device host stopped: "))) << c.mode;
        EXPECT_TRUE(host.stopReason().contains(QLatin1String(c.reason)))
            << c.mode << ": " << host.stopReason().toStdString();
        EXPECT_EQ(host.processId(), 0) << c.mode;
    }
}

TEST_F(DeviceHostTest, HostThatCannotStartOrLoadItsLibraryIsReportedByTheBinding)
{
    struct Case {
        QString command;
        const char* reason;
    };
    for (const Case& c :
         {Case{QStringLiteral("/no/such/zvd-devhost lib.so"), "could not be started"},
          Case{QStringLiteral("\"%1\" /no/such/library.so").arg(bin(QStringLiteral("zvd-devhost"))),
               "/no/such/library.so could not be loaded"},
          Case{bin(QStringLiteral("zvd-devhost")), "ended with status 2"},
          Case{QStringLiteral("\"%1\" \"%2\"")
                   .arg(bin(QStringLiteral("zvd-devhost")), bin(QStringLiteral("zvdsim"))),
               "could not be loaded"}}) {
        DeviceHost::setCommand(c.command);
        mTCC730 library;
        EXPECT_FALSE(library.load(bin(QStringLiteral("libZVD_USB.so"))));
        DeviceHost::setCommand(QString());
        EXPECT_TRUE(library.error().startsWith(QStringLiteral("the device host stopped: ")))
            << library.error().toStdString();
        EXPECT_TRUE(library.error().contains(QLatin1String(c.reason))) << library.error().toStdString();
        EXPECT_FALSE(library.isLoaded());
        EXPECT_EQ(library.TestConnection(), 0);
    }
}

} // namespace
