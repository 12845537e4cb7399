// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "LcdPreview.h"
#include "MainWindowFixture.h"

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListView>
#include <QTreeView>

namespace
{

TEST_F(MainWindowTest, SizeSortIsNumericAndTogglesOnTheSecondChoice)
{
    start();
    ui().mnuSort_Click(1);
    EXPECT_EQ(fileNames(),
              QStringList({QStringLiteral("c.wma"), QStringLiteral("b.mp3"), QStringLiteral("a.mp3")}))
        << "999 before 1,000";
    ui().mnuSort_Click(1);
    EXPECT_EQ(fileNames(),
              QStringList({QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.wma")}));
    EXPECT_TRUE(ui().sortAction(1)->isChecked());
    EXPECT_FALSE(ui().sortAction(0)->isChecked());
    // File Name now keeps the descending direction the size sort left.
    ui().mnuSort_Click(0);
    EXPECT_EQ(fileNames(),
              QStringList({QStringLiteral("c.wma"), QStringLiteral("b.mp3"), QStringLiteral("a.mp3")}));
    EXPECT_TRUE(ui().sortAction(0)->isChecked());
    EXPECT_FALSE(ui().sortAction(1)->isChecked());
}

TEST_F(MainWindowTest, FileNameCheckedFromTheStartReversesAfterAFolderScan)
{
    start();
    EXPECT_TRUE(ui().sortAction(0)->isChecked());
    ui().mnuSort_Click(0);
    EXPECT_EQ(fileNames(),
              QStringList({QStringLiteral("c.wma"), QStringLiteral("b.mp3"), QStringLiteral("a.mp3")}));
    ui().RebuildLists(); // a scan: ascending by name again, the check mark stays
    EXPECT_EQ(fileNames(),
              QStringList({QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.wma")}));
    ui().mnuSort_Click(0);
    EXPECT_EQ(fileNames().first(), QStringLiteral("c.wma"));
}

TEST_F(MainWindowTest, TheSummaryFollowsTheSelectionAndOneMusicFileGetsAnLcdPreview)
{
    start();
    EXPECT_EQ(ui().sbrFile()->text(1), QStringLiteral("0 files"));
    EXPECT_EQ(ui().sbrFile()->text(2), QStringLiteral("0 bytes"));
    selectFiles({QStringLiteral("a.mp3")});
    EXPECT_EQ(ui().sbrFile()->text(1), QStringLiteral("1 file"));
    EXPECT_EQ(ui().sbrFile()->text(2), QStringLiteral("a"));
    EXPECT_FALSE(ui().lcdPreview()->image().isNull());
    QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    QCoreApplication::sendEvent(ui().lvwFile()->currentView(), &selectAll);
    EXPECT_EQ(ui().sbrFile()->text(1), QStringLiteral("3 files"));
    EXPECT_EQ(ui().sbrFile()->text(2), QStringLiteral("2,019 bytes"));
    EXPECT_TRUE(ui().lcdPreview()->image().isNull());
}

TEST_F(MainWindowTest, ViewItemsSwitchTheLocalListStyleAndTickOnlyThemselves)
{
    start();
    selectFiles({QStringLiteral("b.mp3")});
    ui().mnuView_Click(0);
    EXPECT_EQ(ui().lvwFile()->displayStyle(), LocalFileView::LargeIcons);
    EXPECT_EQ(ui().lvwFile()->currentView(), ui().lvwFile()->iconView());
    EXPECT_EQ(ui().lvwFile()->iconView()->viewMode(), QListView::IconMode);
    EXPECT_TRUE(ui().viewAction(0)->isChecked());
    EXPECT_FALSE(ui().viewAction(3)->isChecked());
    ui().mnuView_Click(2);
    EXPECT_EQ(ui().lvwFile()->iconView()->flow(), QListView::TopToBottom);
    EXPECT_EQ(ui().lvwFile()->selectedRows(), QList<int>{1}) << "a style change keeps the selection";
    ui().mnuView_Click(3);
    EXPECT_EQ(ui().lvwFile()->currentView(), ui().lvwFile()->detailView());
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(ui().viewAction(i)->isChecked());
    EXPECT_TRUE(ui().viewAction(3)->isChecked());
}

TEST_F(MainWindowTest, SmallIconsAndListShowLongNamesWhole)
{
    const QString longName = QStringLiteral("a song with a rather long file name.mp3");
    writeFile(longName, 10);
    start();
    ASSERT_EQ(fileNames().first(), longName);
    ASSERT_EQ(fileNames().last(), QStringLiteral("c.wma")) << "the short name comes last";
    for (const int style : {1, 2}) {
        ui().mnuView_Click(style);
        QListView* view = ui().lvwFile()->iconView();
        view->doItemsLayout();
        QCoreApplication::processEvents();
        const int textWidth = view->fontMetrics().horizontalAdvance(longName);
        EXPECT_GE(view->visualRect(ui().fileModel().index(0, 0)).width(), textWidth) << "style " << style;
    }
}

TEST_F(MainWindowTest, TheFolderGivenBeforeTheWindowShowsIsScrolledIntoView)
{
    // Enough folders beside the shown one that it lies below the tree's first screen.
    for (int i = 0; i < 60; ++i)
        QDir().mkpath(dir.filePath(QStringLiteral("aa%1").arg(i, 2, 10, QLatin1Char('0'))));
    const QString other = dir.filePath(QStringLiteral("zz"));
    QDir().mkpath(other);
    window = std::make_unique<frmMain>(library, &prompt);
    window->resize(900, 700);
    window->Load();
    ASSERT_TRUE(window->setCurrentFolder(folder));
    window->show();
    QElapsedTimer clock;
    clock.start();
    QTreeView* tree = ui().fldView();
    const auto visible = [&] {
        return tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex()));
    };
    // In view once the tree has read every folder on the way (which may take a while).
    while (clock.elapsed() < 2000 || (!visible() && clock.elapsed() < 6000))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(visible()) << tree->visualRect(tree->currentIndex()).y();
}

TEST_F(MainWindowTest, ChoosingAnotherFolderListsIt)
{
    start();
    const QString other = dir.filePath(QStringLiteral("other"));
    QDir().mkpath(other);
    QFile song(QDir(other).filePath(QStringLiteral("z.MP3")));
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.close();
    ASSERT_TRUE(window->setCurrentFolder(other));
    EXPECT_EQ(fileNames(), QStringList{QStringLiteral("z.MP3")});
    EXPECT_TRUE(window->isEnabled());
}

} // namespace
