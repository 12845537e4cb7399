// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The window sends a FLAC file to the real virtual player through a click on the toolbar's
// Download button: the player receives "name.mp3". Cancel in the progress window stops the
// conversions under way and leaves no MP3 behind.
#include "../convert/ToneFiles.h"
#include "DeviceTestSupport.h"
#include "TestEnvironment.h"
#include "app/LocalFileView.h"
#include "app/PlayerListModel.h"
#include "app/SettingsStore.h"
#include "app/StatusPanels.h"
#include "app/TransferProgressDialog.h"
#include "app/frmMain.h"
#include "frmMainTestAccess.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace
{

class ConvertSend : public ::testing::Test
{
protected:
    ConvertSend()
    {
        qputenv("ZVD_PLAYER_DIR", QDir(playerDir.path()).absolutePath().toLocal8Bit());
        auto store = SettingsStore::open();
        store->clear();
        store->setValue(QStringLiteral("Display/Language"),
                        QDir(TestEnvironment::binDir()).filePath(QStringLiteral("Language/english.lng")));
        store->setValue(QStringLiteral("Display/PATH"), music.path());
        store->setValue(QStringLiteral("Display/Quality"), QStringLiteral("CBR128"));
        store->sync();
    }

    void SetUp() override
    {
        if (const QString tool = ToneFiles::missingTool(); !tool.isEmpty())
            GTEST_SKIP() << "missing tool: " << qPrintable(tool);
        ASSERT_EQ(zvdsim({QStringLiteral("reset")}), 0);
        ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
        ASSERT_TRUE(device.load(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("libZVD_USB.so"))));
        binBefore = binEntries();
    }

    static QStringList binEntries()
    {
        return QDir(TestEnvironment::binDir())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    int zvdsim(const QStringList& args)
    {
        QProcess process;
        process.start(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdsim")), args);
        process.waitForFinished(30000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // The real button of a toolbar action, clicked with the mouse.
    static void clickToolButton(frmMain& window, const QString& key)
    {
        QWidget* button =
            frmMainTestAccess(window).tbrTool()->widgetForAction(frmMainTestAccess(window).toolButton(key));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QTemporaryDir playerDir;
    QTemporaryDir music;
    QTemporaryDir sources;
    mTCC730 device;
    QStringList binBefore;
};

TEST_F(ConvertSend, AFlacSentWithTheDownloadButtonArrivesAsMp3)
{
    const ToneFiles::Made flac = ToneFiles::make(sources.path(), QStringLiteral("flac"));
    ASSERT_TRUE(QFile::copy(flac.path, QDir(music.path()).filePath(QStringLiteral("Evening.flac"))));

    RecordingPrompt prompt;
    frmMain window(device, &prompt);
    window.Load();
    window.show();
    frmMainTestAccess(window).tmrCheck_Timer();
    ASSERT_EQ(frmMainTestAccess(window).fileModel().count(), 1);
    EXPECT_EQ(frmMainTestAccess(window).fileModel().row(0).name, QLatin1String("Evening.flac"));
    frmMainTestAccess(window).lvwFile()->selectionModel()->select(
        frmMainTestAccess(window).fileModel().index(0, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCoreApplication::processEvents();
    // The status bar names the song as the player's LCD will: from "Evening.mp3", not "Evening.flac".
    EXPECT_EQ(frmMainTestAccess(window).sbrFile()->text(2), QLatin1String("Evening"));
    clickToolButton(window, QStringLiteral("Download"));

    ASSERT_EQ(frmMainTestAccess(window).playerModel()->rowCount(), 1);
    EXPECT_EQ(frmMainTestAccess(window).playerModel()->index(0, 0).data().toString(),
              QLatin1String("Evening.mp3"));
    // 4 s at the stored quality, CBR 128 kbit/s: 64,000 bytes of audio plus the tags.
    const qint64 size = frmMainTestAccess(window).session().list().row(0).size;
    EXPECT_GT(size, 60000);
    EXPECT_LT(size, 80000);
    EXPECT_TRUE(prompt.messages.isEmpty()) << prompt.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(binEntries(), binBefore);
    window.close();
}

TEST_F(ConvertSend, CancelDuringConversionSendsNothingAndLeavesNoMp3)
{
    // Two long files, so the conversions take a while and the progress window shows at once.
    for (const char* name : {"long1.flac", "long2.flac"}) {
        ASSERT_EQ(ToneFiles::run(QStringLiteral("ffmpeg"),
                                 {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=330:duration=300",
                                  "-ac", "2", QDir(music.path()).filePath(QString::fromLatin1(name))}),
                  0);
    }
    RecordingPrompt prompt;
    frmMain window(device, &prompt);
    window.Load();
    window.show();
    frmMainTestAccess(window).tmrCheck_Timer();
    ASSERT_EQ(frmMainTestAccess(window).fileModel().count(), 2);
    frmMainTestAccess(window).lvwFile()->selectionModel()->select(
        QItemSelection(frmMainTestAccess(window).fileModel().index(0, 0),
                       frmMainTestAccess(window).fileModel().index(1, 0)),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    bool clicked = false;
    QElapsedTimer clock;
    qint64 cancelledAt = 0;
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TransferProgressDialog*>(widget);
            if (clicked || !dialog || !dialog->isVisible() || clock.elapsed() < 300)
                continue;
            auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("cancel"));
            if (cancel && cancel->isEnabled()) {
                QTest::mouseClick(cancel, Qt::LeftButton);
                clicked = true;
                cancelledAt = clock.elapsed();
            }
        }
    });
    poll.start();
    clock.start();
    clickToolButton(window, QStringLiteral("Download"));
    poll.stop();
    ASSERT_TRUE(clicked);
    // A conversion of five minutes of audio takes several seconds; the cancel ends it within one.
    EXPECT_LT(clock.elapsed() - cancelledAt, 1500);
    EXPECT_EQ(frmMainTestAccess(window).playerModel()->rowCount(), 0);
    EXPECT_EQ(binEntries(), binBefore);
    window.close();
}

} // namespace
