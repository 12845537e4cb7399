// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window on the real virtual player library: attach it with zvdsim, send a song the
// way the Download button does, and find it in the player list.
#include "DeviceTestSupport.h"
#include "LocalFileView.h"
#include "PlayerListModel.h"
#include "SettingsStore.h"
#include "StatusPanels.h"
#include "TestEnvironment.h"
#include "frmMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

    // A real MP3 made by lame when it is installed, else bytes with an MP3 name (sending does
    // not need the audio to be valid).
    QString makeSong(const QString& name)
    {
        const QString path = QDir(music.path()).filePath(name);
        const QString lame = QStandardPaths::findExecutable(QStringLiteral("lame"));
        if (!lame.isEmpty()) {
            QProcess process;
            process.start(lame, {QStringLiteral("--quiet"), QStringLiteral("-r"), QStringLiteral("-s"),
                                 QStringLiteral("44.1"), QStringLiteral("-m"), QStringLiteral("m"),
                                 QStringLiteral("-"), path});
            process.waitForStarted();
            process.write(QByteArray(44100 * 2, '\0'));
            process.closeWriteChannel();
            process.waitForFinished(30000);
        }
        if (!QFile::exists(path)) {
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(QByteArray(40000, '\x55'));
        }
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
    window.Load();
    window.show();
    window.tmrCheck_Timer();
    EXPECT_EQ(window.sbrStatus()->text(1), QStringLiteral("Player connected"));
    EXPECT_EQ(window.playerModel()->rowCount(), 0);

    ASSERT_EQ(window.fileModel().count(), 1);
    window.lvwFile()->selectionModel()->select(window.fileModel().index(0, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window.toolButton(QStringLiteral("Download"))->trigger();

    ASSERT_EQ(window.playerModel()->rowCount(), 1);
    EXPECT_EQ(window.playerModel()->index(0, 0).data().toString(), QStringLiteral("Morning.mp3"));
    EXPECT_EQ(window.session().list().row(0).size, size) << "listed without the title block";
    EXPECT_TRUE(prompt.messages.isEmpty()) << prompt.messages.join(QLatin1Char('\n')).toStdString();

    ASSERT_EQ(zvdsim({QStringLiteral("detach")}), 0);
    window.tmrCheck_Timer();
    EXPECT_EQ(window.playerModel()->rowCount(), 0);
    window.close();
}

} // namespace
