// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "MainWindowFixture.h"
#include "PaneLayout.h"
#include "SplitDDC.h"
#include "SplitterBar.h"
#include "Twips.h"

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
    EXPECT_EQ(window->sbrStatus()->text(3), QStringLiteral("Ver. 1.0.75"));
    EXPECT_EQ(window->currentFolder(), QDir::toNativeSeparators(folder));
    EXPECT_EQ(fileNames(),
              QStringList({QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.wma")}));
    EXPECT_TRUE(window->tmrCheck().isActive());
    EXPECT_EQ(window->tmrCheck().interval(), 1000);
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
    EXPECT_EQ(store->value(QStringLiteral("Display/HSplit")).toInt(), window->hsplitLeft());
    EXPECT_FALSE(window->tmrCheck().isActive());
}

TEST_F(MainWindowTest, FirstTickWithoutAPlayerShowsTheDisconnectedText)
{
    start();
    window->tmrCheck_Timer();
    EXPECT_EQ(window->sbrStatus()->text(1), QStringLiteral("Not connected"));
    EXPECT_TRUE(window->sbrStatus()->text(2).isEmpty());
    EXPECT_EQ(window->playerModel()->rowCount(), 0);
    EXPECT_TRUE(fake.callsOf("Open").empty());
}

TEST_F(MainWindowTest, FirstTickWithAPlayerConnectsAndListsTheMusicView)
{
    start();
    attach();
    EXPECT_EQ(window->sbrStatus()->text(1), QStringLiteral("Connected"));
    EXPECT_EQ(window->sbrStatus()->text(2), QStringLiteral("Memory: 119 MBytes / 122 MBytes"));
    EXPECT_EQ(playerNames(), QStringList({QStringLiteral("Song.mp3"), QStringLiteral("Tune.mp3")}));
    EXPECT_EQ(window->playerModel()->index(0, 1).data().toString(), QStringLiteral("1,000,000"));
    EXPECT_NEAR(window->capacityBar()->value(), 200 * 1000 / 7800, 1);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(window->tmrCheck().isActive());
}

TEST_F(MainWindowTest, DetachClosesOnceEmptiesTheListAndClearsTheCapacity)
{
    start();
    attach();
    fake.connection = 0;
    window->tmrCheck_Timer();
    window->tmrCheck_Timer();
    EXPECT_EQ(fake.callsOf("Close").size(), 1u);
    EXPECT_EQ(window->playerModel()->rowCount(), 0);
    EXPECT_TRUE(window->sbrStatus()->text(2).isEmpty());
    EXPECT_EQ(window->sbrStatus()->text(1), QStringLiteral("Not connected"));
    EXPECT_EQ(window->capacityBar()->value(), 0);

    fake.connection = 2; // anything but 1 counts as detached
    window->tmrCheck_Timer();
    EXPECT_TRUE(fake.callsOf("Open").size() == 1u);
    fake.connection = 1;
    window->tmrCheck_Timer();
    EXPECT_EQ(fake.callsOf("Open").size(), 2u);
    EXPECT_EQ(window->playerModel()->rowCount(), 2);
}

TEST_F(MainWindowTest, AnUnchangedStateCostsOneLibraryCallPerTick)
{
    start();
    attach();
    fake.calls.clear();
    window->tmrCheck_Timer();
    EXPECT_EQ(fake.callNames(), QStringList{QStringLiteral("TestConnection")});
}

TEST_F(MainWindowTest, AnOperationStopsThePollAndDisablesTheWindowUntilItEnds)
{
    start();
    attach();
    bool timerActive = true;
    bool enabled = true;
    prompt.onQuestion = [&] {
        timerActive = window->tmrCheck().isActive();
        enabled = window->isEnabled();
    };
    prompt.answer = false;
    selectPlayerRows({0});
    window->tbrTool_ButtonClick(QStringLiteral("Delete"));
    ASSERT_EQ(prompt.questions.size(), 1);
    EXPECT_FALSE(timerActive);
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(window->tmrCheck().isActive());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(window->isBusy());
}

TEST_F(MainWindowTest, TabChangesRefillBothListsAndSetTheUploadButton)
{
    start();
    attach();
    QAction* upload = window->toolButton(QStringLiteral("Upload"));
    ASSERT_NE(upload, nullptr);
    selectPlayerRows({0});
    EXPECT_FALSE(upload->isEnabled()) << "never in the music view";
    window->tabMode()->setCurrentIndex(1);
    EXPECT_FALSE(upload->isEnabled()) << "nothing selected on the player";
    EXPECT_EQ(fileNames(), QStringList{QStringLiteral("REC001.ZVD")});
    EXPECT_EQ(playerNames(), QStringList{QStringLiteral("rec001.zvd")});
    selectPlayerRows({0});
    EXPECT_TRUE(upload->isEnabled());
    window->tabMode()->setCurrentIndex(2);
    selectPlayerRows({0});
    EXPECT_TRUE(upload->isEnabled());
    EXPECT_EQ(fileNames(), QStringList{QStringLiteral("notes.txt")});
    EXPECT_EQ(playerNames(), QStringList{QStringLiteral("notes.txt")});
    window->tabMode()->setCurrentIndex(0);
    EXPECT_FALSE(upload->isEnabled());
    EXPECT_EQ(window->tabMode()->tabToolTip(0), QStringLiteral("View Audio Files (MP3, WMA)"));
    EXPECT_EQ(window->tabMode()->tabToolTip(1), QStringLiteral("View Record Files (ZVD)"));
    EXPECT_EQ(window->tabMode()->tabToolTip(2), QStringLiteral("View Files"));
}

TEST_F(MainWindowTest, TheToolbarHasItsEightPositions)
{
    start();
    const QList<QAction*> actions = window->tbrTool()->actions();
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
    window->tbrTool_ButtonClick(QStringLiteral("Format"));
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
    EXPECT_EQ(window->hsplitLeft(), 4500);
    EXPECT_EQ(window->vsplitTop(), DesignVSplitTop) << "0 leaves the bar at its design position";
}

TEST_F(MainWindowTest, AStoredVSplitBelowTheWindowIsPulledUp)
{
    auto store = SettingsStore::open();
    store->setValue(QStringLiteral("Display/VSplit"), QStringLiteral("90000"));
    store->sync();
    start();
    // Room is left below the bar for the tool strip and 510 twips more.
    const int inner = Twips::fromPixels(window->client()->height());
    const int tool = Twips::fromPixels(window->tabMode()->parentWidget()->height());
    EXPECT_LE(window->vsplitTop(), inner - tool - 510 + 15);
    EXPECT_GT(window->vsplitTop(), DesignVSplitTop);
    EXPECT_LE(window->tabMode()->parentWidget()->geometry().bottom(), window->client()->height());
}

TEST_F(MainWindowTest, DraggingTheFolderBarFarLeftStopsAt2100Twips)
{
    start();
    SplitterBar* bar = window->picHsplit();
    QPoint pointer = window->client()->mapToGlobal(QPoint(bar->x() + 2, 20));
    window->splitter(bar).setPointerSource([&] { return pointer; });
    window->SplitterPressed(bar, QPoint(2, 20));
    pointer = window->client()->mapToGlobal(QPoint(-200, 20));
    window->SplitterMoved();
    EXPECT_EQ(window->splitter(bar).outline().left(), window->client()->mapToGlobal(QPoint(30, 0)).x());
    window->SplitterReleased();
    EXPECT_EQ(window->hsplitLeft(), 2100);
    EXPECT_EQ(window->fldView()->width(), Twips::toPixels(2100));
}

TEST_F(MainWindowTest, DraggingThePlayerBarMovesItAndLaysThePanesOut)
{
    start();
    SplitterBar* bar = window->picVsplit();
    QPoint pointer = window->client()->mapToGlobal(QPoint(50, bar->y() + 2));
    window->splitter(bar).setPointerSource([&] { return pointer; });
    window->SplitterPressed(bar, QPoint(50, 2));
    pointer = window->client()->mapToGlobal(QPoint(50, 300));
    window->SplitterMoved();
    window->SplitterReleased();
    EXPECT_EQ(bar->y(), 298);
    EXPECT_EQ(window->vsplitTop(), Twips::fromPixels(298));
    EXPECT_EQ(window->lvwFile()->geometry().bottom() + 1, window->sbrFile()->y());
    pointer = window->client()->mapToGlobal(QPoint(50, 5000));
    window->SplitterPressed(bar, QPoint(50, 2));
    window->SplitterReleased();
    EXPECT_EQ(bar->y(), window->client()->height() - 64 - 2);
}

} // namespace
