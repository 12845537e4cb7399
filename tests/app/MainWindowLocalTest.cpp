// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "MainWindowFixture.h"
#include "app/LcdPreview.h"

#include <QAction>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QListView>
#include <QScrollBar>
#include <QToolTip>
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
    // In view from top to bottom; a long name may run on to the right, where the tree scrolls.
    const auto visible = [&] {
        const QRect row = tree->visualRect(tree->currentIndex());
        return row.isValid() && row.top() >= 0 && row.bottom() <= tree->viewport()->height();
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

TEST_F(MainWindowTest, AQuickSecondFolderChoiceShowsOnlyTheSecondFolder)
{
    start();
    // Chunks small enough that the first folder is still being listed when the second is chosen.
    ui().fileModel().setListingChunks(10, 25);
    const QString many = dir.filePath(QStringLiteral("many"));
    const QString few = dir.filePath(QStringLiteral("few"));
    QDir().mkpath(many);
    QDir().mkpath(few);
    for (int n = 0; n < 400; ++n) {
        QFile song(QDir(many).filePath(QStringLiteral("song %1.mp3").arg(n)));
        ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    }
    for (const char* name : {"b.mp3", "a.mp3"}) {
        QFile song(QDir(few).filePath(QLatin1String(name)));
        ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(window->setCurrentFolder(many));
    ASSERT_TRUE(window->setCurrentFolder(few));
    QElapsedTimer clock;
    clock.start();
    while (ui().fileModel().isFilling() && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    EXPECT_EQ(fileNames(), QStringList({"a.mp3", "b.mp3"}));
    QAbstractItemView* view = ui().lvwFile()->currentView();
    ASSERT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(view->model()->index(1, 0).data().toString(), QStringLiteral("b.mp3"));
}

TEST_F(MainWindowTest, ADeepFolderScrollsTheTreeSidewaysAndItsTooltipNamesTheFullPath)
{
    QString deep = folder;
    for (int level = 0; level < 8; ++level)
        deep += QStringLiteral("/a rather long folder name at level %1").arg(level);
    ASSERT_TRUE(QDir().mkpath(deep));
    start();
    ASSERT_TRUE(window->setCurrentFolder(deep));
    QTreeView* tree = ui().fldView();
    QElapsedTimer clock;
    clock.start();
    // The tree reads the folders on the way in the background.
    while (tree->horizontalScrollBar()->maximum() == 0 && clock.elapsed() < 6000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_GT(tree->horizontalScrollBar()->maximum(), 0) << "the deep name is not cut but scrolls";

    tree->scrollTo(tree->currentIndex());
    const QPoint at = tree->visualRect(tree->currentIndex()).center();
    QHelpEvent hover(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(tree->viewport(), &hover);
    EXPECT_EQ(QToolTip::text(), QDir::toNativeSeparators(QDir::cleanPath(deep)));
    QToolTip::hideText();
}

TEST_F(MainWindowTest, WithoutAStoredFolderTheWindowOpensAtHomeNotAtTheRoot)
{
    const QString home = dir.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    auto store = SettingsStore::open();
    store->remove(QStringLiteral("Display/PATH"));
    store->sync();
    start();
    qputenv("HOME", oldHome);
    EXPECT_EQ(ui().currentFolder(), QDir::toNativeSeparators(home));
}

TEST_F(MainWindowTest, PlayerColumnsFitTheirTextsOnFirstFillAndTheWindowKeepsBothListsInView)
{
    fake.entries.push_back({"LONG", "MP3", 123456789,
                            "A very long song name that is wider than the column it is given first.mp3"});
    start();
    attach();
    PlayerListView* list = ui().lvwPlayer();
    ASSERT_EQ(list->model()->rowCount(), 3) << "the music view: two songs and the long one";
    const QAbstractItemView* view = list; // the widths its texts need
    EXPECT_GE(list->columnWidth(0), view->sizeHintForColumn(0)) << "no name is cut";
    EXPECT_GE(list->columnWidth(1), view->sizeHintForColumn(1));
    EXPECT_GE(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width())
        << "the columns use the width the list has";

    window->resize(120, 90);
    QCoreApplication::processEvents();
    EXPECT_GE(window->width(), window->minimumWidth());
    EXPECT_GE(window->minimumWidth(), 400);
    EXPECT_GE(window->minimumHeight(), 300);
    const int rows = 3 * list->sizeHintForRow(0);
    for (QAbstractItemView* shown : {static_cast<QAbstractItemView*>(list), ui().lvwFile()->currentView()}) {
        EXPECT_GE(shown->viewport()->height(), rows) << "three rows stay in view";
        EXPECT_GE(shown->viewport()->width(), 150);
    }
}

} // namespace
