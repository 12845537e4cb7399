// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window on the real virtual player library: attach it with zvdsim, send a song the
// way the Download button does, and find it in the player list.
#include "DeviceTestSupport.h"
#include "TestEnvironment.h"
#include "app/LocalFileView.h"
#include "app/PlayerListModel.h"
#include "app/SettingsStore.h"
#include "app/StatusPanels.h"
#include "app/TransferProgressDialog.h"
#include "app/frmMain.h"
#include "device/DeviceHost.h"
#include "tests/app/frmMainTestAccess.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>

namespace
{

class EndToEnd : public ::testing::Test
{
protected:
    EndToEnd()
    {
        qputenv("ZVD_PLAYER_DIR", QDir(playerDir.path()).absolutePath().toLocal8Bit());
        auto store = SettingsStore::open();
        store->clear();
        store->setValue(QStringLiteral("Display/Language"),
                        QDir(TestEnvironment::binDir()).filePath(QStringLiteral("Language/english.lng")));
        store->setValue(QStringLiteral("Display/PATH"), music.path());
        store->sync();
    }

    int zvdsim(const QStringList& args)
    {
        QProcess process;
        process.start(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdsim")), args);
        process.waitForFinished(30000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // A real MP3 made once by lame (tests/audio/fixtures), under the given name.
    QString makeSong(const QString& name)
    {
        const QString path = QDir(music.path()).filePath(name);
        EXPECT_TRUE(QFile::copy(
            QDir(TestEnvironment::sourceDir()).filePath(QStringLiteral("tests/audio/fixtures/cbr.mp3")),
            path));
        return path;
    }

    QTemporaryDir playerDir;
    QTemporaryDir music;
};

TEST_F(EndToEnd, ASongSentWithTheDownloadButtonAppearsInThePlayerList)
{
    ASSERT_EQ(zvdsim({QStringLiteral("reset")}), 0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
    const QString song = makeSong(QStringLiteral("Morning.mp3"));
    const qint64 size = QFileInfo(song).size();

    mTCC730 device;
    ASSERT_TRUE(device.load(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("libZVD_USB.so"))))
        << device.error().toStdString();
    RecordingPrompt prompt;
    frmMain window(device, &prompt);
    frmMainTestAccess ui(window);
    window.Load();
    window.show();
    ui.tmrCheck_Timer();
    EXPECT_EQ(ui.sbrStatus()->text(1), QStringLiteral("Player connected"));
    EXPECT_EQ(ui.playerModel()->rowCount(), 0);

    ASSERT_EQ(ui.fileModel().count(), 1);
    ui.lvwFile()->selectionModel()->select(ui.fileModel().index(0, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ui.toolButton(QStringLiteral("Download"))->trigger();

    ASSERT_EQ(ui.playerModel()->rowCount(), 1);
    EXPECT_EQ(ui.playerModel()->index(0, 0).data().toString(), QStringLiteral("Morning.mp3"));
    EXPECT_EQ(ui.session().list().row(0).size, size) << "listed without the title block";
    EXPECT_TRUE(prompt.messages.isEmpty()) << prompt.messages.join(QLatin1Char('\n')).toStdString();

    ASSERT_EQ(zvdsim({QStringLiteral("detach")}), 0);
    ui.tmrCheck_Timer();
    EXPECT_EQ(ui.playerModel()->rowCount(), 0);
    window.close();
}

// Three songs on the player, the same three sent again over a slow link, every replace question
// answered Yes, and Cancel pressed in the progress window while the first file is on its way:
// the first song is replaced, the other two stay on the player as they were.
TEST_F(EndToEnd, CancelWhileReplacingLeavesTheSongsNotReachedOnThePlayer)
{
    ASSERT_EQ(zvdsim({QStringLiteral("reset")}), 0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
    QTemporaryDir old;
    const QStringList names{QStringLiteral("s1.mp3"), QStringLiteral("s2.mp3"), QStringLiteral("s3.mp3")};
    for (const QString& name : names) {
        QFile file(old.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(20000, 'o'));
        file.close();
        ASSERT_EQ(zvdsim({QStringLiteral("put"), file.fileName()}), 0);
        QFile song(QDir(music.path()).filePath(name));
        ASSERT_TRUE(song.open(QIODevice::WriteOnly));
        song.write(QByteArray(60000, 'n'));
    }
    mTCC730 device;
    ASSERT_TRUE(device.load(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("libZVD_USB.so"))));
    RecordingPrompt prompt; // answers Yes
    frmMain window(device, &prompt);
    frmMainTestAccess ui(window);
    window.Load();
    window.show();
    ui.tmrCheck_Timer();
    ASSERT_EQ(ui.playerModel()->rowCount(), 3);
    // 3 s per song: long enough for Cancel to land during the first one however loaded the
    // machine (and however slow a sanitizer build) is.
    ASSERT_EQ(zvdsim({QStringLiteral("speed"), QStringLiteral("20000")}), 0);

    QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    QCoreApplication::sendEvent(ui.lvwFile()->currentView(), &selectAll);
    // Cancel is pressed as soon as the progress window shows, whenever that is.
    bool clicked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TransferProgressDialog*>(widget);
            if (clicked || !dialog || !dialog->isVisible())
                continue;
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->isEnabled()) {
                    QTest::mouseClick(button, Qt::LeftButton);
                    clicked = true;
                }
            }
        }
    });
    poll.start(20);
    ui.toolButton(QStringLiteral("Download"))->trigger();
    poll.stop();
    ASSERT_EQ(zvdsim({QStringLiteral("speed"), QStringLiteral("0")}), 0);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(prompt.questions.size(), 3);

    QMap<QString, qint64> sizes;
    for (const PlayerListRow& row : ui.session().list().rows())
        sizes.insert(row.name, row.size);
    EXPECT_EQ(sizes.value(QStringLiteral("s1.mp3")), 60000) << "replaced before Cancel";
    EXPECT_EQ(sizes.value(QStringLiteral("s2.mp3")), 20000 - 1546) << "not reached: kept";
    EXPECT_EQ(sizes.value(QStringLiteral("s3.mp3")), 20000 - 1546) << "not reached: kept";
    EXPECT_EQ(sizes.size(), 3);
    window.close();
}

// A player whose memory cannot be read is not shown as an empty one, and nothing is done on
// the list that was not read.
TEST_F(EndToEnd, AnUnreadPlayerIsSaidInTheStatusBarAndRefusesOperations)
{
    ASSERT_EQ(zvdsim({QStringLiteral("reset")}), 0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
    makeSong(QStringLiteral("Morning.mp3"));
    mTCC730 device;
    ASSERT_TRUE(device.load(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("libZVD_USB.so"))));
    RecordingPrompt prompt;
    frmMain window(device, &prompt);
    frmMainTestAccess ui(window);
    window.Load();
    window.show();
    ASSERT_EQ(zvdsim({QStringLiteral("fail"), QStringLiteral("GetMediumInfo")}), 0);
    ui.tmrCheck_Timer();
    EXPECT_TRUE(ui.sbrStatus()->text(2).contains(QStringLiteral("could not be read")))
        << ui.sbrStatus()->text(2).toStdString();
    EXPECT_FALSE(ui.sbrStatus()->text(2).contains(QStringLiteral("0 MBytes / 0 MBytes")));

    QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    QCoreApplication::sendEvent(ui.lvwFile()->currentView(), &selectAll);
    ui.toolButton(QStringLiteral("Download"))->trigger();
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].contains(QStringLiteral("could not be read")));
    EXPECT_TRUE(prompt.questions.isEmpty());
    window.close();
}

// Entries that a killed ZVD or zvdctl left set aside are put right when the window connects:
// given their name back, or deleted where a file of their name has arrived since.
TEST_F(EndToEnd, EntriesLeftAsideByAKilledProcessArePutRightOnConnecting)
{
    ASSERT_EQ(zvdsim({QStringLiteral("reset")}), 0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
    QTemporaryDir pc;
    const QString gone = QStringLiteral("~zvd-999999999-");
    for (const QString& name :
         {gone + QStringLiteral("s.mp3"), QStringLiteral("t.mp3"), gone + QStringLiteral("t.mp3")}) {
        QFile file(pc.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(name.startsWith(gone) ? 5000 : 6000, 'x'));
        file.close();
        ASSERT_EQ(zvdsim({QStringLiteral("put"), file.fileName()}), 0);
    }
    mTCC730 device;
    ASSERT_TRUE(device.load(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("libZVD_USB.so"))));
    RecordingPrompt prompt;
    frmMain window(device, &prompt);
    frmMainTestAccess ui(window);
    window.Load();
    window.show();
    ui.tmrCheck_Timer();
    QStringList shown;
    for (int row = 0; row < ui.playerModel()->rowCount(); ++row)
        shown << ui.playerModel()->index(row, 0).data().toString();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("s.mp3"), QStringLiteral("t.mp3")}));
    EXPECT_EQ(ui.session().list().row(1).size, 6000 - 1546) << "the newer t.mp3 is kept";
    EXPECT_TRUE(prompt.messages.isEmpty());
    window.close();
}

// The library's start, and the closing of a connection, that fail are said once each.
TEST_F(EndToEnd, AFailedStartOrCloseIsSaidOnce)
{
    ASSERT_EQ(zvdsim({QStringLiteral("reset")}), 0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
    mTCC730 device;
    ASSERT_TRUE(device.load(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("libZVD_USB.so"))));
    RecordingPrompt prompt;
    frmMain window(device, &prompt);
    frmMainTestAccess ui(window);
    ASSERT_EQ(zvdsim({QStringLiteral("fail"), QStringLiteral("StartDLL")}), 0);
    window.Load();
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].contains(QStringLiteral("could not be started")));

    for (int round = 0; round < 2; ++round) {
        ui.tmrCheck_Timer();
        ASSERT_TRUE(ui.session().isConnected());
        ASSERT_EQ(zvdsim({QStringLiteral("fail"), QStringLiteral("Close")}), 0);
        ASSERT_EQ(zvdsim({QStringLiteral("detach")}), 0);
        ui.tmrCheck_Timer();
        ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
    }
    ASSERT_EQ(prompt.messages.size(), 2) << "said once, not at every unplugging";
    EXPECT_TRUE(prompt.messages[1].contains(QStringLiteral("could not be closed")));
    window.close();
}

// A device host that dies is said once; the window shows no player, and a later poll starts a
// new host and finds the player again.
TEST_F(EndToEnd, AStoppedDeviceHostIsSaidOnceAndThePlayerComesBack)
{
    ASSERT_EQ(zvdsim({QStringLiteral("reset")}), 0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
    const QDir bin(TestEnvironment::binDir());
    const QString library = bin.filePath(QStringLiteral("libZVD_USB.so"));
    DeviceHost::setCommand(
        QStringLiteral("\"%1\" \"%2\"").arg(bin.filePath(QStringLiteral("zvd-devhost")), library));
    const auto noHost = qScopeGuard([] { DeviceHost::setCommand(QString()); });
    mTCC730 device;
    ASSERT_TRUE(device.load(library));
    RecordingPrompt prompt;
    frmMain window(device, &prompt);
    frmMainTestAccess ui(window);
    window.Load();
    ui.tmrCheck_Timer();
    ASSERT_TRUE(ui.session().isConnected());
    ASSERT_GT(DeviceHost::instance().processId(), 0);

    for (int round = 0; round < 2; ++round) {
        ::kill(pid_t(DeviceHost::instance().processId()), SIGKILL);
        ui.tmrCheck_Timer();
        EXPECT_FALSE(ui.session().isConnected());
        for (int poll = 0; poll < 3 && !ui.session().isConnected(); ++poll)
            ui.tmrCheck_Timer();
        EXPECT_TRUE(ui.session().isConnected()) << "a new host serves the player";
    }
    ASSERT_EQ(prompt.messages.size(), 1)
        << "said once, not at every stop: " << qPrintable(prompt.messages.join(QStringLiteral(" / ")));
    EXPECT_TRUE(prompt.messages[0].contains(QStringLiteral("the device host stopped")))
        << qPrintable(prompt.messages[0]);
    window.close();
}

// Each start of ZVD removes what a killed ZVD or zvdctl left beside the program, and nothing else.
TEST_F(EndToEnd, EachStartRemovesTheTemporaryFilesOfProcessesThatAreGone)
{
    const QDir bin(TestEnvironment::binDir());
    const QString stale = QStringLiteral(".zvd-999999999-dir-0");
    const QString foreign = QStringLiteral(".zvd-notours");
    ASSERT_TRUE(bin.mkpath(stale + QStringLiteral("/song.mp3.d")));
    {
        QFile file(bin.filePath(foreign));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QProcess zvd;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    zvd.setProcessEnvironment(environment);
    zvd.start(bin.filePath(QStringLiteral("ZVD")), {QStringLiteral("--version")});
    ASSERT_TRUE(zvd.waitForFinished(30000));
    EXPECT_FALSE(bin.exists(stale));
    EXPECT_TRUE(bin.exists(foreign));
    QFile::remove(bin.filePath(foreign));
}

} // namespace
