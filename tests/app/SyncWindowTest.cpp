// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// File > Sync folder to player on the real virtual player, driven by keys and clicks: the plan
// dialog, its choices, Cancel there, and Cancel in the progress window while the sync runs.
#include "DeviceTestSupport.h"
#include "TestEnvironment.h"
#include "app/SettingsStore.h"
#include "app/SyncDialog.h"
#include "app/SyncTexts.h"
#include "app/TransferProgressDialog.h"
#include "app/frmMain.h"
#include "frmMainTestAccess.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>

namespace
{

QByteArray textFrame(const char* id, const QByteArray& text)
{
    const QByteArray data = '\0' + text;
    QByteArray frame(id, 4);
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.append(char(data.size() >> shift & 0xFF));
    return frame + QByteArray(2, '\0') + data;
}

// A small MP3 with album and track tags and `frames` silent frames.
QByteArray song(const QByteArray& album, const QByteArray& track, int frames)
{
    const QByteArray body = textFrame("TPE2", "Band") + textFrame("TALB", album) + textFrame("TRCK", track);
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        tag.append(char(body.size() >> shift & 0x7F));
    QByteArray audio;
    for (int i = 0; i < frames; ++i)
        audio += QByteArray("\xFF\xFB\x90\x40", 4) + QByteArray(413, '\0');
    return tag + body + audio;
}

class SyncWindow : public ::testing::Test
{
protected:
    SyncWindow()
    {
        qputenv("ZVD_PLAYER_DIR", QDir(playerDir.path()).absolutePath().toLocal8Bit());
        qputenv("XDG_DATA_HOME", QDir(dataDir.path()).absolutePath().toLocal8Bit());
        auto store = SettingsStore::open();
        store->clear();
        store->setValue(QStringLiteral("Display/Language"),
                        QDir(TestEnvironment::binDir()).filePath(QStringLiteral("Language/english.lng")));
        store->setValue(QStringLiteral("Display/PATH"), music.path());
        store->sync();
    }

    void SetUp() override
    {
        ASSERT_EQ(zvdsim({QStringLiteral("reset")}), 0);
        ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
        put(QStringLiteral("Second/x.mp3"), song("Second", "1", 40));
        put(QStringLiteral("First/z.mp3"), song("First", "1", 40));
        put(QStringLiteral("First/y.mp3"), song("First", "2", 40));
        put(QStringLiteral("First/notes.txt"), "text");
        ASSERT_TRUE(device.load(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("libZVD_USB.so"))));
        window = std::make_unique<frmMain>(device, &prompt);
        window->Load();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        frmMainTestAccess(*window).tmrCheck_Timer();
        // Let the window settle (the folder tree reads its folders) before the first key.
        QTest::qWait(300);
    }

    void TearDown() override
    {
        if (window)
            window->close();
    }

    int zvdsim(const QStringList& args)
    {
        QProcess process;
        process.start(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdsim")), args);
        process.waitForFinished(30000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    void put(const QString& relativePath, const QByteArray& bytes)
    {
        const QString path = QDir(music.path()).filePath(relativePath);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Opens File > Sync folder to player with the keyboard (Alt+F, then the item's letter); while
    // the plan dialog is open, `inDialog` looks at it and answers it with clicks.
    void openSyncByKeyboard(const std::function<void(SyncDialog&)>& inDialog, bool waitForPlan = true)
    {
        dialogSeen = false;
        bool handled = false;
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<SyncDialog*>(QApplication::activeModalWidget());
            if (handled || !dialog || !dialog->isVisible())
                return;
            handled = true;
            dialogSeen = true;
            // The plan is made on a thread of its own; the dialog shows it when it is ready.
            if (waitForPlan) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->planning(); }, 20000));
            }
            inDialog(*dialog);
            if (dialog->isVisible()) // a check failed before any button: do not hang
                dialog->reject();
        });
        watch.start();
        // A closed dialog leaves no window active on this platform: the keys need one.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 5000));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Y);
        // The sync runs inside the dialog's click; wait until the window takes input again.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return handled && QApplication::activeModalWidget() == nullptr && window->isEnabled(); },
            20000));
        watch.stop();
    }

    QStringList playerNames() const
    {
        QStringList names;
        for (const PlayerListRow& row : frmMainTestAccess(*window).session().list().rows())
            names << row.name;
        return names;
    }

    static QStringList column(const SyncDialog& dialog, int column)
    {
        QStringList texts;
        for (int i = 0; i < dialog.planList()->topLevelItemCount(); ++i)
            texts << dialog.planList()->topLevelItem(i)->text(column);
        return texts;
    }

    QTemporaryDir playerDir;
    QTemporaryDir dataDir;
    QTemporaryDir music;
    mTCC730 device;
    RecordingPrompt prompt;
    std::unique_ptr<frmMain> window;
    bool dialogSeen = false;
};

} // namespace

TEST_F(SyncWindow, PlanDialogListsThePlanAndItsSyncButtonRunsIt)
{
    // Cancel first: nothing changes.
    openSyncByKeyboard([&](SyncDialog& dialog) {
        EXPECT_EQ(column(dialog, 0), (QStringList{QStringLiteral("skip"), QStringLiteral("send"),
                                                  QStringLiteral("send"), QStringLiteral("send")}));
        EXPECT_EQ(column(dialog, 1),
                  (QStringList{QStringLiteral("First/notes.txt"), QStringLiteral("First/y.mp3"),
                               QStringLiteral("First/z.mp3"), QStringLiteral("Second/x.mp3")}));
        EXPECT_TRUE(dialog.summary()->text().startsWith(QStringLiteral("3 to send")))
            << dialog.summary()->text().toStdString();
        QPushButton* cancel = nullptr;
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text().contains(QStringLiteral("Cancel")))
                cancel = button;
        ASSERT_NE(cancel, nullptr);
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    ASSERT_TRUE(dialogSeen);
    EXPECT_TRUE(playerNames().isEmpty());

    openSyncByKeyboard([&](SyncDialog& dialog) {
        // A click on Mirror plans again; Sync runs.
        QTest::mouseClick(dialog.mirrorBox(), Qt::LeftButton, {},
                          QPoint(5, dialog.mirrorBox()->height() / 2));
        EXPECT_TRUE(dialog.mirrorBox()->isChecked());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.planning(); }, 20000));
        EXPECT_EQ(dialog.planList()->topLevelItemCount(), 4);
        QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(dialogSeen);
    // Album order: First (z track 1, y track 2), then Second.
    EXPECT_EQ(playerNames(),
              (QStringList{QStringLiteral("z.mp3"), QStringLiteral("y.mp3"), QStringLiteral("x.mp3")}));
    EXPECT_EQ(frmMainTestAccess(*window).summaryLabel()->text(),
              QStringLiteral("Sync: 3 sent; 0 deleted; 0 moves"));
    EXPECT_TRUE(prompt.messages.isEmpty()) << prompt.messages.join(QLatin1Char('\n')).toStdString();

    // Again: everything is kept.
    openSyncByKeyboard([&](SyncDialog& dialog) {
        EXPECT_EQ(column(dialog, 0).count(QStringLiteral("keep")), 3);
        EXPECT_TRUE(dialog.summary()->text().startsWith(QStringLiteral("0 to send")));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    ASSERT_TRUE(dialogSeen);
}

TEST_F(SyncWindow, CancelInTheProgressWindowLeavesWholeEntriesAndTheNextSyncFinishes)
{
    ASSERT_EQ(zvdsim({QStringLiteral("speed"), QStringLiteral("60000")}), 0);
    bool cancelled = false;
    QTimer cancelWhenShown;
    cancelWhenShown.setInterval(20);
    QObject::connect(&cancelWhenShown, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<TransferProgressDialog*>(widget);
            if (!progress || !progress->isVisible() || cancelled)
                continue;
            for (QPushButton* button : progress->findChildren<QPushButton*>()) {
                if (button->isEnabled()) {
                    QTest::mouseClick(button, Qt::LeftButton);
                    cancelled = true;
                }
            }
        }
    });
    openSyncByKeyboard([&](SyncDialog& dialog) {
        cancelWhenShown.start();
        QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
    });
    cancelWhenShown.stop();
    ASSERT_EQ(zvdsim({QStringLiteral("speed"), QStringLiteral("0")}), 0);
    ASSERT_TRUE(cancelled);
    const QStringList arrived = playerNames();
    EXPECT_LT(arrived.size(), 3);
    // Every entry that is there is whole: its listed size is the song's.
    for (const PlayerListRow& row : frmMainTestAccess(*window).session().list().rows()) {
        const QString source = row.name == QStringLiteral("x.mp3") ? QStringLiteral("Second/x.mp3")
                                                                   : QStringLiteral("First/") + row.name;
        EXPECT_EQ(row.size, QFileInfo(QDir(music.path()).filePath(source)).size()) << row.name.toStdString();
    }

    openSyncByKeyboard([&](SyncDialog& dialog) {
        // The record lists only what arrived: those are kept, the others still to send.
        EXPECT_EQ(column(dialog, 0).count(QStringLiteral("keep")), arrived.size());
        EXPECT_EQ(column(dialog, 0).count(QStringLiteral("send")), 3 - arrived.size());
        QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
    });
    EXPECT_EQ(playerNames(),
              (QStringList{QStringLiteral("z.mp3"), QStringLiteral("y.mp3"), QStringLiteral("x.mp3")}));
}

TEST_F(SyncWindow, FullPlayerOffersWhatFitsBeforeAnythingChanges)
{
    ASSERT_EQ(zvdsim({QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("49152")}), 0);
    ASSERT_EQ(zvdsim({QStringLiteral("attach")}), 0);
    frmMainTestAccess(*window).tmrCheck_Timer();
    frmMainTestAccess(*window).RefreshPlayerList();
    openSyncByKeyboard([&](SyncDialog& dialog) {
        EXPECT_TRUE(
            dialog.summary()->text().contains(QStringLiteral("Not everything fits: the first 1 of 3")))
            << dialog.summary()->text().toStdString();
        EXPECT_EQ(dialog.startButton()->text(), QStringLiteral("&Send what fits"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    ASSERT_TRUE(dialogSeen);
    EXPECT_TRUE(playerNames().isEmpty());
}

TEST_F(SyncWindow, ALargeFolderIsReadWhileTheDialogRespondsAndCancelStopsTheReading)
{
    // Enough songs that reading them and their tags takes the planning thread a good while.
    const QByteArray bytes = song("Many", "1", 1);
    for (int i = 0; i < 20000; ++i)
        put(QStringLiteral("Many/%1.mp3").arg(i, 5, 10, QLatin1Char('0')), bytes);
    bool stillPlanning = false;
    qint64 longestStall = 0;
    qint64 closedAfter = -1;
    openSyncByKeyboard(
        [&](SyncDialog& dialog) {
            EXPECT_TRUE(dialog.busyIndicator()->isVisible());
            EXPECT_FALSE(dialog.startButton()->isEnabled());
            // The dialog's event loop turns while the folder is read: a timer keeps its time.
            QElapsedTimer clock;
            clock.start();
            qint64 last = 0;
            QTimer tick;
            tick.setInterval(5);
            QObject::connect(&tick, &QTimer::timeout, [&] {
                longestStall = std::max(longestStall, clock.elapsed() - last);
                last = clock.elapsed();
            });
            tick.start();
            QTest::qWait(400);
            stillPlanning = dialog.planning();
            QPushButton* cancel = nullptr;
            for (QPushButton* button : dialog.findChildren<QPushButton*>())
                if (button->text().contains(QStringLiteral("Cancel")))
                    cancel = button;
            ASSERT_NE(cancel, nullptr);
            clock.restart();
            QTest::mouseClick(cancel, Qt::LeftButton);
            closedAfter = clock.elapsed();
            EXPECT_FALSE(dialog.isVisible());
        },
        false);
    ASSERT_TRUE(dialogSeen);
    EXPECT_TRUE(stillPlanning) << "the plan was made too fast to show anything";
    EXPECT_LT(longestStall, 500); // reading the folder takes seconds
    EXPECT_LT(closedAfter, 2000) << "Cancel waits for the reading to stop";
    EXPECT_TRUE(playerNames().isEmpty());
}

TEST(SyncTexts, EveryTranslationWordsEveryReasonAndKeepsItsMarkers)
{
    const SyncTexts english;
    const QString folder = QDir(TestEnvironment::binDir()).filePath(QStringLiteral("Language/"));
    const SyncTexts shipped = SyncTexts::load(folder + QStringLiteral("english.lng"));
    for (std::size_t i = 0; i < english.whys.size(); ++i)
        EXPECT_EQ(shipped.whys[i], english.whys[i]) << i;
    for (const char* name : {"german.lng", "french.lng", "spanish.lng", "korean.lng"}) {
        const SyncTexts texts = SyncTexts::load(folder + QString::fromLatin1(name));
        for (std::size_t i = 0; i < english.whys.size(); ++i) {
            EXPECT_NE(texts.whys[i], english.whys[i]) << name << ' ' << i;
            for (const char* marker : {"%1", "%2"})
                EXPECT_EQ(texts.whys[i].contains(QLatin1String(marker)),
                          english.whys[i].contains(QLatin1String(marker)))
                    << name << ' ' << i;
        }
        EXPECT_NE(texts.reading, english.reading) << name;
        for (QString SyncTexts::*text : {&SyncTexts::stopped, &SyncTexts::notAFolder, &SyncTexts::noPlayer,
                                         &SyncTexts::mediumUnread, &SyncTexts::entriesUnread})
            EXPECT_NE(texts.*text, english.*text) << name;
        EXPECT_TRUE(texts.notAFolder.contains(QLatin1String("%1"))) << name;
    }
    // An item's reason is worded with its arguments, a name holding a marker left as it is.
    const SyncTexts german = SyncTexts::load(folder + QStringLiteral("german.lng"));
    SyncItem item;
    item.why = SyncItem::Why::QualityChanged;
    item.whyArgs = {QStringLiteral("V2"), QStringLiteral("CBR320")};
    EXPECT_EQ(german.reason(item),
              QStringLiteral("zuvor mit V2 umgewandelt; wird mit CBR320 erneut gesendet"));
    item.why = SyncItem::Why::NameTaken;
    item.whyArgs = {QStringLiteral("a%2b.mp3")};
    EXPECT_EQ(german.reason(item),
              QStringLiteral("der Player hat nur eine Datei pro Name; a%2b.mp3 hat ihn"));
}
