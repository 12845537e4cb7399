// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "MainWindowFixture.h"
#include "app/PaneLayout.h"
#include "app/SplitDDC.h"
#include "app/SplitterBar.h"
#include "app/Twips.h"

#include <QAction>
#include <QProgressBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace
{

TEST_F(MainWindowTest, StartUpRunsItsStepsInOrderAndStartsTheLibraryBeforeTheFirstListing)
{
    start();
    EXPECT_EQ(steps, QStringList({QStringLiteral("CreateSplitters"), QStringLiteral("ToolStrip"),
                                  QStringLiteral("TitleFont"), QStringLiteral("LoadSettings"),
                                  QStringLiteral("FolderPath"), QStringLiteral("Version"),
                                  QStringLiteral("ConnectionState"), QStringLiteral("StartDLL"),
                                  QStringLiteral("LayoutPanes"), QStringLiteral("tabMode_Click"),
                                  QStringLiteral("HookListNotify"), QStringLiteral("ApplyInterfaceFont")}));
    EXPECT_TRUE(callsAtStep[QStringLiteral("StartDLL")].isEmpty());
    EXPECT_EQ(callsAtStep[QStringLiteral("LayoutPanes")], QStringList{QStringLiteral("StartDLL")});
    EXPECT_EQ(ui().sbrStatus()->text(3), QStringLiteral("Ver. 1.0.75"));
    EXPECT_EQ(ui().currentFolder(), QDir::toNativeSeparators(folder));
    EXPECT_EQ(fileNames(),
              QStringList({QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.wma")}));
    EXPECT_TRUE(ui().tmrCheck().isActive());
    EXPECT_EQ(ui().tmrCheck().interval(), 1000);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(MainWindowTest, ShutdownClosesTheConnectionBeforeTheLibraryAndSavesSettingsLast)
{
    start();
    attach();
    steps.clear();
    window->close();
    EXPECT_EQ(steps, QStringList({QStringLiteral("UnhookListNotify"), QStringLiteral("BeginBusy"),
                                  QStringLiteral("DisconnectPlayer"), QStringLiteral("ExitDLL"),
                                  QStringLiteral("SaveSettings"), QStringLiteral("SavePath")}));
    const QStringList calls = callsAtStep[QStringLiteral("SaveSettings")];
    ASSERT_GE(calls.size(), 2);
    EXPECT_EQ(calls.mid(calls.size() - 2), QStringList({QStringLiteral("Close"), QStringLiteral("ExitDLL")}));
    const auto store = SettingsStore::open();
    EXPECT_EQ(store->value(QStringLiteral("Display/PATH")).toString(), QDir::toNativeSeparators(folder));
    EXPECT_EQ(store->value(QStringLiteral("Display/HSplit")).toInt(), ui().hsplitLeft());
    EXPECT_FALSE(ui().tmrCheck().isActive());
}

TEST_F(MainWindowTest, FirstTickWithoutAPlayerShowsTheDisconnectedText)
{
    start();
    ui().tmrCheck_Timer();
    EXPECT_EQ(ui().sbrStatus()->text(1), QStringLiteral("Not connected"));
    EXPECT_TRUE(ui().sbrStatus()->text(2).isEmpty());
    EXPECT_EQ(ui().playerModel()->rowCount(), 0);
    EXPECT_TRUE(fake.callsOf("Open").empty());
}

TEST_F(MainWindowTest, FirstTickWithAPlayerConnectsAndListsTheMusicView)
{
    start();
    attach();
    EXPECT_EQ(ui().sbrStatus()->text(1), QStringLiteral("Connected"));
    EXPECT_EQ(ui().sbrStatus()->text(2), QStringLiteral("Memory: 119 MBytes / 122 MBytes"));
    EXPECT_EQ(playerNames(), QStringList({QStringLiteral("Song.mp3"), QStringLiteral("Tune.mp3")}));
    EXPECT_EQ(ui().playerModel()->index(0, 1).data().toString(), QStringLiteral("1,000,000"));
    EXPECT_NEAR(ui().capacityBar()->value(), 200 * 1000 / 7800, 1);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(ui().tmrCheck().isActive());
}

TEST_F(MainWindowTest, DetachClosesOnceEmptiesTheListAndClearsTheCapacity)
{
    start();
    attach();
    fake.connection = 0;
    ui().tmrCheck_Timer();
    ui().tmrCheck_Timer();
    EXPECT_EQ(fake.callsOf("Close").size(), 1u);
    EXPECT_EQ(ui().playerModel()->rowCount(), 0);
    EXPECT_TRUE(ui().sbrStatus()->text(2).isEmpty());
    EXPECT_EQ(ui().sbrStatus()->text(1), QStringLiteral("Not connected"));
    EXPECT_EQ(ui().capacityBar()->value(), 0);

    fake.connection = 2; // anything but 1 counts as detached
    ui().tmrCheck_Timer();
    EXPECT_TRUE(fake.callsOf("Open").size() == 1u);
    fake.connection = 1;
    ui().tmrCheck_Timer();
    EXPECT_EQ(fake.callsOf("Open").size(), 2u);
    EXPECT_EQ(ui().playerModel()->rowCount(), 2);
}

TEST_F(MainWindowTest, AnUnchangedStateCostsOneLibraryCallPerTick)
{
    start();
    attach();
    fake.calls.clear();
    ui().tmrCheck_Timer();
    EXPECT_EQ(fake.callNames(), QStringList{QStringLiteral("TestConnection")});
}

TEST_F(MainWindowTest, AnOperationStopsThePollAndDisablesTheWindowUntilItEnds)
{
    start();
    attach();
    bool timerActive = true;
    bool enabled = true;
    prompt.onQuestion = [&] {
        timerActive = ui().tmrCheck().isActive();
        enabled = window->isEnabled();
    };
    prompt.answer = false;
    selectPlayerRows({0});
    ui().tbrTool_ButtonClick(QStringLiteral("Delete"));
    ASSERT_EQ(prompt.questions.size(), 1);
    EXPECT_FALSE(timerActive);
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(ui().tmrCheck().isActive());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(ui().isBusy());
}

TEST_F(MainWindowTest, TabChangesRefillBothListsAndSetTheUploadButton)
{
    start();
    attach();
    QAction* upload = ui().toolButton(QStringLiteral("Upload"));
    ASSERT_NE(upload, nullptr);
    selectPlayerRows({0});
    EXPECT_FALSE(upload->isEnabled()) << "never in the music view";
    ui().tabMode()->setCurrentIndex(1);
    EXPECT_FALSE(upload->isEnabled()) << "nothing selected on the player";
    EXPECT_EQ(fileNames(), QStringList{QStringLiteral("REC001.ZVD")});
    EXPECT_EQ(playerNames(), QStringList{QStringLiteral("rec001.zvd")});
    selectPlayerRows({0});
    EXPECT_TRUE(upload->isEnabled());
    ui().tabMode()->setCurrentIndex(2);
    selectPlayerRows({0});
    EXPECT_TRUE(upload->isEnabled());
    EXPECT_EQ(fileNames(), QStringList{QStringLiteral("notes.txt")});
    EXPECT_EQ(playerNames(), QStringList{QStringLiteral("notes.txt")});
    ui().tabMode()->setCurrentIndex(0);
    EXPECT_FALSE(upload->isEnabled());
    EXPECT_EQ(ui().tabMode()->tabToolTip(0), QStringLiteral("View Audio Files (MP3, WMA)"));
    EXPECT_EQ(ui().tabMode()->tabToolTip(1), QStringLiteral("View Record Files (ZVD)"));
    EXPECT_EQ(ui().tabMode()->tabToolTip(2), QStringLiteral("View Files"));
}

TEST_F(MainWindowTest, TheToolbarHasItsEightPositions)
{
    start();
    const QList<QAction*> actions = ui().tbrTool()->actions();
    ASSERT_EQ(actions.size(), 8);
    EXPECT_EQ(actions[1]->objectName(), QStringLiteral("Download"));
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->objectName(), QStringLiteral("Upload"));
    EXPECT_EQ(actions[5]->objectName(), QStringLiteral("Delete"));
    EXPECT_TRUE(actions[6]->isSeparator());
    EXPECT_EQ(actions[7]->objectName(), QStringLiteral("Format"));
}

TEST_F(MainWindowTest, FormatWithoutAConnectionAsksNothing)
{
    start();
    ui().tbrTool_ButtonClick(QStringLiteral("Format"));
    EXPECT_TRUE(prompt.questions.isEmpty());
    EXPECT_TRUE(fake.callsOf("Format").empty());
}

TEST_F(MainWindowTest, SplitterPositionsAreStoredInTwipsAndReadBack)
{
    auto store = SettingsStore::open();
    store->setValue(QStringLiteral("Display/HSplit"), QStringLiteral("4500"));
    store->setValue(QStringLiteral("Display/VSplit"), QStringLiteral("0"));
    store->sync();
    start();
    EXPECT_EQ(ui().hsplitLeft(), 4500);
    EXPECT_EQ(ui().vsplitTop(), DesignVSplitTop) << "0 leaves the bar at its design position";
}

TEST_F(MainWindowTest, AStoredVSplitBelowTheWindowIsPulledUp)
{
    auto store = SettingsStore::open();
    store->setValue(QStringLiteral("Display/VSplit"), QStringLiteral("90000"));
    store->sync();
    start();
    // Room is left below the bar for the tool strip and 510 twips more.
    const int inner = Twips::fromPixels(ui().client()->height());
    const int tool = Twips::fromPixels(ui().tabMode()->parentWidget()->height());
    EXPECT_LE(ui().vsplitTop(), inner - tool - 510 + 15);
    EXPECT_GT(ui().vsplitTop(), DesignVSplitTop);
    EXPECT_LE(ui().tabMode()->parentWidget()->geometry().bottom(), ui().client()->height());
}

TEST_F(MainWindowTest, DraggingTheFolderBarFarLeftStopsAt2100Twips)
{
    start();
    SplitterBar* bar = ui().picHsplit();
    QPoint pointer = ui().client()->mapToGlobal(QPoint(bar->x() + 2, 20));
    ui().splitter(bar).setPointerSource([&] { return pointer; });
    ui().SplitterPressed(bar, QPoint(2, 20));
    pointer = ui().client()->mapToGlobal(QPoint(-200, 20));
    ui().SplitterMoved();
    EXPECT_EQ(ui().splitter(bar).outline().left(), ui().client()->mapToGlobal(QPoint(30, 0)).x());
    ui().SplitterReleased();
    EXPECT_EQ(ui().hsplitLeft(), 2100);
    EXPECT_EQ(ui().fldView()->width(), Twips::toPixels(2100));
}

TEST_F(MainWindowTest, DraggingThePlayerBarMovesItAndLaysThePanesOut)
{
    start();
    SplitterBar* bar = ui().picVsplit();
    QPoint pointer = ui().client()->mapToGlobal(QPoint(50, bar->y() + 2));
    ui().splitter(bar).setPointerSource([&] { return pointer; });
    ui().SplitterPressed(bar, QPoint(50, 2));
    pointer = ui().client()->mapToGlobal(QPoint(50, 300));
    ui().SplitterMoved();
    ui().SplitterReleased();
    EXPECT_EQ(bar->y(), 298);
    EXPECT_EQ(ui().vsplitTop(), Twips::fromPixels(298));
    EXPECT_EQ(ui().lvwFile()->geometry().bottom() + 1, ui().sbrFile()->y());
    pointer = ui().client()->mapToGlobal(QPoint(50, 5000));
    ui().SplitterPressed(bar, QPoint(50, 2));
    ui().SplitterReleased();
    EXPECT_EQ(bar->y(), ui().client()->height() - 64 - 2);
}

} // namespace
