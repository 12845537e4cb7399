// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The window reaching the virtual player through the device host, as a 64-bit ZVD on Windows
// reaches the vendor's 32-bit library: songs sent and fetched by clicks on the lists and the
// toolbar (the transfers run on a worker thread, the host was started by the window's), and the
// host killed in the middle of a send and of a fetch.
#include "DeviceTestSupport.h"
#include "TestEnvironment.h"
#include "app/LocalFileView.h"
#include "app/PlayerListModel.h"
#include "app/PlayerListView.h"
#include "app/SettingsStore.h"
#include "app/frmMain.h"
#include "core/AppPaths.h"
#include "device/DeviceHost.h"
#include "frmMainTestAccess.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace
{

class WindowThroughHost : public ::testing::Test
{
protected:
    WindowThroughHost()
    {
        qputenv("ZVD_PLAYER_DIR", QDir(playerDir.path()).absolutePath().toLocal8Bit());
        auto store = SettingsStore::open();
        store->clear();
        store->setValue(QStringLiteral("Display/Language"),
                        bin.filePath(QStringLiteral("Language/english.lng")));
        store->setValue(QStringLiteral("Display/PATH"), music.path());
        store->sync();
        DeviceHost::setCommand(QStringLiteral("\"%1\" \"%2\"")
                                   .arg(bin.filePath(QStringLiteral("zvd-devhost")),
                                        bin.filePath(QStringLiteral("libZVD_USB.so"))));
    }
    ~WindowThroughHost() override
    {
        DeviceHost::setCommand(QString());
        DeviceHost::instance().shutDown();
    }

    bool zvdsim(const QStringList& args)
    {
        QProcess process;
        process.start(bin.filePath(QStringLiteral("zvdsim")), args);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    static QByteArray bytes(int size, char seed)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            bytes[i] = char(seed + (i * 7 + i / 251) % 61);
        return bytes;
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Puts a file on the player as the player itself would have it.
    bool putOnPlayer(const QString& name, const QByteArray& bytes)
    {
        QTemporaryDir staging;
        write(staging.filePath(name), bytes);
        return zvdsim({QStringLiteral("put"), staging.filePath(name)});
    }

    std::unique_ptr<frmMain> openWindow()
    {
        EXPECT_TRUE(device.load(bin.filePath(QStringLiteral("libZVD_USB.so"))))
            << device.error().toStdString();
        auto window = std::make_unique<frmMain>(device, &prompt);
        window->Load();
        window->show();
        frmMainTestAccess(*window).tmrCheck_Timer();
        return window;
    }

    static void clickLocal(frmMain& window, const QString& name)
    {
        QAbstractItemView* view = frmMainTestAccess(window).lvwFile()->currentView();
        for (int row = 0; row < frmMainTestAccess(window).fileModel().count(); ++row) {
            if (frmMainTestAccess(window).fileModel().row(row).name == name) {
                const QRect rect = view->visualRect(frmMainTestAccess(window).fileModel().index(row, 0));
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
                return;
            }
        }
        ADD_FAILURE() << "no local row " << name.toStdString();
    }

    static void clickPlayer(frmMain& window, const QString& name)
    {
        PlayerListView* view = frmMainTestAccess(window).lvwPlayer();
        for (int row = 0; row < frmMainTestAccess(window).playerModel()->rowCount(); ++row) {
            const QModelIndex index = frmMainTestAccess(window).playerModel()->index(row, 0);
            if (index.data().toString() == name) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
                return;
            }
        }
        ADD_FAILURE() << "no player row " << name.toStdString();
    }

    static void clickTool(frmMain& window, const QString& key)
    {
        QWidget* button =
            frmMainTestAccess(window).tbrTool()->widgetForAction(frmMainTestAccess(window).toolButton(key));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // The view of every file (songs are fetched to the PC there only).
    static void clickHddTab(frmMain& window)
    {
        QTabBar* tabs = frmMainTestAccess(window).tabMode();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        ASSERT_EQ(tabs->currentIndex(), 2);
    }

    static QMap<QString, qint64> playerSizes(frmMain& window)
    {
        QMap<QString, qint64> sizes;
        for (const PlayerListRow& row : frmMainTestAccess(window).session().list().rows())
            sizes.insert(row.name, row.size);
        return sizes;
    }

    // Kills the host `afterMs` into the transfer the next click starts; the pid it killed.
    static void killHostLater(int afterMs, qint64& killed)
    {
        QTimer::singleShot(afterMs, [&killed] {
            killed = DeviceHost::instance().processId();
            if (killed > 0)
                ::kill(pid_t(killed), SIGKILL);
        });
    }

    // Polls as the window's timer does: the first poll after the stop shows no player, the
    // next ones start a new host and find the player again.
    static bool pollUntilConnectedAgain(frmMain& window)
    {
        frmMainTestAccess(window).tmrCheck_Timer();
        EXPECT_FALSE(frmMainTestAccess(window).session().isConnected()) << "the first poll shows no player";
        for (int poll = 0; poll < 3 && !frmMainTestAccess(window).session().isConnected(); ++poll)
            frmMainTestAccess(window).tmrCheck_Timer();
        return frmMainTestAccess(window).session().isConnected();
    }

    const QDir bin{TestEnvironment::binDir()};
    QTemporaryDir playerDir;
    QTemporaryDir music;
    mTCC730 device;
    RecordingPrompt prompt; // answers Yes
};

TEST_F(WindowThroughHost, FilesSentAndFetchedByClicksArriveWhole)
{
    ASSERT_TRUE(zvdsim({QStringLiteral("reset")}) && zvdsim({QStringLiteral("attach")}));
    const QString song = QDir(music.path()).filePath(QStringLiteral("Morning.mp3"));
    ASSERT_TRUE(QFile::copy(
        QDir(TestEnvironment::sourceDir()).filePath(QStringLiteral("tests/audio/fixtures/cbr.mp3")), song));
    const QString report = QDir(music.path()).filePath(QStringLiteral("Report.dat"));
    const QByteArray original = bytes(700000, 'r');
    write(report, original);
    const auto window = openWindow();
    ASSERT_TRUE(frmMainTestAccess(*window).session().isConnected());
    ASSERT_NE(DeviceHost::instance().processId(), 0) << "the player is reached through the host";

    // A song in the audio view, with the title block made for it.
    clickLocal(*window, QStringLiteral("Morning.mp3"));
    clickTool(*window, QStringLiteral("Download"));
    EXPECT_EQ(playerSizes(*window).value(QStringLiteral("Morning.mp3"), -1), QFileInfo(song).size());

    // A file there and back in the view of every file, fetched over the deleted local copy (the
    // list still shows it: Yes to replace).
    clickHddTab(*window);
    clickLocal(*window, QStringLiteral("Report.dat"));
    clickTool(*window, QStringLiteral("Download"));
    ASSERT_TRUE(playerSizes(*window).contains(QStringLiteral("Report.dat")));
    ASSERT_TRUE(QFile::remove(report));
    clickPlayer(*window, QStringLiteral("Report.dat"));
    clickTool(*window, QStringLiteral("Upload"));
    EXPECT_EQ(read(report), original) << "byte for byte after the round trip";
    EXPECT_TRUE(prompt.messages.isEmpty()) << prompt.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(DeviceHost::instance().hasStopped());
    window->close();
}

// The host killed while a song replaces the player's copy: the transfer ends at once with a
// message, the stop is said, the next polls start a new host, the player's old copy is there
// under its own name, and the PC's file is untouched.
TEST_F(WindowThroughHost, HostKilledDuringASendLeavesThePlayersOldCopyAndThePcFile)
{
    ASSERT_TRUE(zvdsim({QStringLiteral("reset")}) && zvdsim({QStringLiteral("attach")}));
    const QByteArray old = bytes(30000, 'o');
    ASSERT_TRUE(putOnPlayer(QStringLiteral("Song.mp3"), old));
    const QString local = QDir(music.path()).filePath(QStringLiteral("Song.mp3"));
    const QByteArray fresh = bytes(3 * 1024 * 1024, 'n');
    write(local, fresh);
    const auto window = openWindow();
    ASSERT_TRUE(frmMainTestAccess(*window).session().isConnected());
    const qint64 firstHost = DeviceHost::instance().processId();
    ASSERT_NE(firstHost, 0);
    ASSERT_TRUE(zvdsim({QStringLiteral("speed"), QStringLiteral("300000")}));

    clickLocal(*window, QStringLiteral("Song.mp3"));
    qint64 killed = 0;
    killHostLater(600, killed);
    QElapsedTimer timer;
    timer.start();
    clickTool(*window, QStringLiteral("Download"));
    EXPECT_LT(timer.elapsed(), 8000) << "no waiting for the rest of the transfer";
    ASSERT_EQ(killed, firstHost) << "the host was killed during the send";
    ASSERT_TRUE(zvdsim({QStringLiteral("speed"), QStringLiteral("0")}));
    ASSERT_FALSE(prompt.messages.isEmpty()) << "the failed send is said";

    EXPECT_TRUE(pollUntilConnectedAgain(*window)) << "a new host serves the player";
    EXPECT_NE(DeviceHost::instance().processId(), firstHost);
    const QString said = prompt.messages.join(QLatin1Char('\n'));
    EXPECT_EQ(said.count(QStringLiteral("the device host stopped")), 1) << said.toStdString();
    const QMap<QString, qint64> sizes = playerSizes(*window);
    EXPECT_EQ(sizes.keys(), QStringList{QStringLiteral("Song.mp3")}) << "nothing left set aside";
    EXPECT_EQ(sizes.value(QStringLiteral("Song.mp3")), old.size() - 1546) << "the old copy";
    EXPECT_EQ(read(local), fresh);

    // And the song goes once the player is back.
    clickLocal(*window, QStringLiteral("Song.mp3"));
    clickTool(*window, QStringLiteral("Download"));
    EXPECT_EQ(playerSizes(*window).value(QStringLiteral("Song.mp3")), fresh.size());
    window->close();
}

// The host killed while a file is fetched over the PC's copy: the PC keeps its copy whole, no
// part of the fetched one stays in the folder, and the player keeps its file.
TEST_F(WindowThroughHost, HostKilledDuringAFetchLeavesThePcCopyWholeAndNoPart)
{
    ASSERT_TRUE(zvdsim({QStringLiteral("reset")}) && zvdsim({QStringLiteral("attach")}));
    const QByteArray onPlayer = bytes(3 * 1024 * 1024, 'p');
    ASSERT_TRUE(putOnPlayer(QStringLiteral("Report.dat"), onPlayer));
    const QString local = QDir(music.path()).filePath(QStringLiteral("Report.dat"));
    const QByteArray pcCopy = bytes(40000, 'c');
    write(local, pcCopy);
    const auto window = openWindow();
    ASSERT_TRUE(frmMainTestAccess(*window).session().isConnected());
    clickHddTab(*window);
    const qint64 firstHost = DeviceHost::instance().processId();
    const qint64 listed = playerSizes(*window).value(QStringLiteral("Report.dat"), -1);
    ASSERT_GT(listed, 0);
    ASSERT_TRUE(zvdsim({QStringLiteral("speed"), QStringLiteral("300000")}));

    clickPlayer(*window, QStringLiteral("Report.dat"));
    qint64 killed = 0;
    killHostLater(600, killed);
    QElapsedTimer timer;
    timer.start();
    clickTool(*window, QStringLiteral("Upload"));
    EXPECT_LT(timer.elapsed(), 8000);
    ASSERT_EQ(killed, firstHost) << "the host was killed during the fetch";
    ASSERT_TRUE(zvdsim({QStringLiteral("speed"), QStringLiteral("0")}));
    EXPECT_FALSE(prompt.messages.isEmpty()) << "the failed fetch is said";

    EXPECT_EQ(read(local), pcCopy) << "the PC's copy is whole";
    EXPECT_EQ(QDir(music.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Report.dat")})
        << "no part of the fetched copy stays";
    EXPECT_TRUE(pollUntilConnectedAgain(*window));
    EXPECT_EQ(playerSizes(*window).value(QStringLiteral("Report.dat"), -1), listed);
    window->close();
}

// ZVD itself takes --device-host as zvdctl does, ahead of the library it would load: the host is
// started by it (through a shell that notes the host's process id), and ends with it.
TEST_F(WindowThroughHost, TheProgramsDeviceHostOptionStartsTheHostThatEndsWithIt)
{
    ASSERT_TRUE(zvdsim({QStringLiteral("reset")}) && zvdsim({QStringLiteral("attach")}));
    QTemporaryDir scratch;
    const QString marker = scratch.filePath(QStringLiteral("host-pid"));
    const QString command = QStringLiteral("/bin/sh -c \"echo $$ > '%1'; exec '%2' '%3'\"")
                                .arg(marker, bin.filePath(QStringLiteral("zvd-devhost")),
                                     bin.filePath(QStringLiteral("libZVD_USB.so")));
    QProcess zvd;
    zvd.start(bin.filePath(QStringLiteral("ZVD")),
              {QStringLiteral("--library"), QStringLiteral("/no/such/library.so"),
               QStringLiteral("--device-host"), command, music.path()});
    ASSERT_TRUE(zvd.waitForStarted(30000));
    qint64 host = 0;
    for (int wait = 0; wait < 300 && host == 0; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        host = read(marker).trimmed().toLongLong();
    }
    ASSERT_GT(host, 0) << "ZVD started the host it was given";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(AppPaths::isProcessAlive(host))
        << "and it serves ZVD: " << zvd.readAllStandardError().toStdString();
    EXPECT_EQ(zvd.state(), QProcess::Running);

    zvd.kill();
    ASSERT_TRUE(zvd.waitForFinished(10000));
    bool gone = false;
    for (int wait = 0; wait < 100 && !gone; ++wait) {
        gone = !AppPaths::isProcessAlive(host);
        if (!gone)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(gone) << "the host ends with the program that started it";
}

} // namespace
