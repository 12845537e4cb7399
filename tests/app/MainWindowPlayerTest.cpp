// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "MainWindowFixture.h"
#include "app/ListDragHandler.h"

#include <QAction>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTabBar>

#include <memory>

namespace
{

// Sends a drag entering and moving over a list's viewport and tells whether the list took it.
bool dragOverAccepted(QAbstractItemView* view, const QMimeData* data, QPoint at = QPoint(5, 5))
{
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent event(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &event);
    return event.isAccepted();
}

bool drop(QAbstractItemView* view, const QMimeData* data, QPoint at)
{
    if (!dragOverAccepted(view, data, at))
        return false;
    QDropEvent event(QPointF(at), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &event);
    QCoreApplication::processEvents(); // the drop's work runs after the drag has ended
    return event.isAccepted();
}

struct ListHandlerAccess {
    static void start(frmMain& window, FileList list)
    {
        frmMainTestAccess(window).dragHandler().dragStarted(list);
    }
    static void complete(frmMain& window, FileList list)
    {
        frmMainTestAccess(window).dragHandler().dragCompleted(list);
    }
};

TEST_F(MainWindowTest, DownloadSendsTheSelectedLocalFilesAndRebuildsThePlayerList)
{
    start();
    attach();
    selectFiles({QStringLiteral("a.mp3"), QStringLiteral("c.wma")});
    fake.calls.clear();
    ui().toolButton(QStringLiteral("Download"))->trigger();
    const auto downloads = fake.callsOf("Download");
    ASSERT_EQ(downloads.size(), 2u);
    EXPECT_TRUE(QString::fromStdString(downloads[0].text).endsWith(QStringLiteral("a.mp3")));
    EXPECT_TRUE(QString::fromStdString(downloads[1].text).endsWith(QStringLiteral("c.wma")));
    EXPECT_FALSE(fake.callsOf("Refresh").empty());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(MainWindowTest, TheLocalListRefusesPlayerFilesInTheMusicViewAndTakesThemElsewhere)
{
    start();
    attach();
    std::unique_ptr<QMimeData> ours(ListDrag::makeMimeData());
    QAbstractItemView* local = ui().lvwFile()->currentView();
    selectPlayerRows({0});
    ListHandlerAccess::start(*window, FileList::Player);
    EXPECT_FALSE(dragOverAccepted(local, ours.get()));
    ListHandlerAccess::complete(*window, FileList::Player);

    ui().tabMode()->setCurrentIndex(1);
    selectPlayerRows({0});
    ListHandlerAccess::start(*window, FileList::Player);
    EXPECT_TRUE(dragOverAccepted(local, ours.get()));
    fake.calls.clear();
    EXPECT_TRUE(drop(local, ours.get(), QPoint(5, 5)));
    ListHandlerAccess::complete(*window, FileList::Player);
    ASSERT_EQ(fake.callsOf("Upload").size(), 1u);
    EXPECT_EQ(fake.callsOf("Upload")[0].numbers[2], 1) << "entry index of rec001.zvd";

    ListHandlerAccess::start(*window, FileList::Local);
    EXPECT_FALSE(dragOverAccepted(local, ours.get())) << "a drag within the local list";
    ListHandlerAccess::complete(*window, FileList::Local);
}

TEST_F(MainWindowTest, ThePlayerListTakesLocalFilesAndOnePlayerFileButNotTwoNorForeignDrags)
{
    start();
    attach();
    std::unique_ptr<QMimeData> ours(ListDrag::makeMimeData());
    QAbstractItemView* player = ui().lvwPlayer();
    ListHandlerAccess::start(*window, FileList::Local);
    EXPECT_TRUE(dragOverAccepted(player, ours.get()));
    ListHandlerAccess::complete(*window, FileList::Local);

    selectPlayerRows({0, 1});
    ListHandlerAccess::start(*window, FileList::Player);
    EXPECT_FALSE(dragOverAccepted(player, ours.get()));
    ListHandlerAccess::complete(*window, FileList::Player);

    selectPlayerRows({0});
    ListHandlerAccess::start(*window, FileList::Player);
    EXPECT_TRUE(dragOverAccepted(player, ours.get()));
    ListHandlerAccess::complete(*window, FileList::Player);

    QMimeData foreign;
    foreign.setText(QStringLiteral("file:///tmp/x.mp3"));
    EXPECT_FALSE(dragOverAccepted(player, &foreign));
}

TEST_F(MainWindowTest, DroppingOnePlayerFileOnAnotherMovesItBeforeThatFile)
{
    start();
    attach();
    std::unique_ptr<QMimeData> ours(ListDrag::makeMimeData());
    selectPlayerRows({1}); // Tune.mp3, entry 2
    ListHandlerAccess::start(*window, FileList::Player);
    fake.calls.clear();
    const QRect target = ui().lvwPlayer()->visualRect(ui().playerModel()->index(0, 0)); // Song.mp3, entry 0
    EXPECT_TRUE(drop(ui().lvwPlayer(), ours.get(), target.center()));
    ListHandlerAccess::complete(*window, FileList::Player);
    const auto swaps = fake.callsOf("Replace");
    ASSERT_EQ(swaps.size(), 2u);
    EXPECT_EQ(swaps[0].numbers, (std::vector<int64_t>{7, 0, 2, 1}));
    EXPECT_EQ(swaps[1].numbers, (std::vector<int64_t>{7, 0, 1, 0}));
    EXPECT_EQ(ui().dragState().playerSelectedAtStart, 0);
}

TEST_F(MainWindowTest, DroppingOnAnEmptyPartOfThePlayerListMovesNothing)
{
    start();
    attach();
    std::unique_ptr<QMimeData> ours(ListDrag::makeMimeData());
    selectPlayerRows({1});
    ListHandlerAccess::start(*window, FileList::Player);
    fake.calls.clear();
    drop(ui().lvwPlayer(), ours.get(), QPoint(5, ui().lvwPlayer()->viewport()->height() - 3));
    ListHandlerAccess::complete(*window, FileList::Player);
    EXPECT_TRUE(fake.callsOf("Replace").empty());
}

TEST_F(MainWindowTest, ALabelEditRenamesKeepingTheExtensionAndShowsWhatThePlayerReports)
{
    start();
    attach();
    const QModelIndex song = ui().playerModel()->index(0, 0);
    EXPECT_TRUE(ui().playerModel()->flags(song) & Qt::ItemIsEditable);
    EXPECT_FALSE(ui().playerModel()->setData(song, QStringLiteral("Tune2")));
    QCoreApplication::processEvents();
    const auto renames = fake.callsOf("Rename");
    ASSERT_EQ(renames.size(), 1u);
    EXPECT_EQ(renames[0].text, "Tune2.mp3");
    EXPECT_EQ(ui().playerModel()->index(0, 0).data().toString(), QStringLiteral("Song.mp3"))
        << "the fake keeps the old name, and the list shows only what the player reports";
}

TEST_F(MainWindowTest, WithoutAConnectionNoLabelEditStarts)
{
    start();
    attach();
    fake.connection = 0;
    ui().tmrCheck_Timer();
    fake.connection = 1;
    fake.openSucceeds = false;
    ui().tmrCheck_Timer();
    EXPECT_EQ(ui().sbrStatus()->text(1), QStringLiteral("Not connected"));
    EXPECT_EQ(ui().playerModel()->rowCount(), 0);
    EXPECT_TRUE(fake.callsOf("Rename").empty());
}

TEST_F(MainWindowTest, TheDeleteKeyDeletesTheSelectionAfterTheSameQuestion)
{
    start();
    attach();
    selectPlayerRows({0, 1});
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(ui().lvwPlayer(), &press);
    ASSERT_EQ(prompt.questions.size(), 1);
    EXPECT_EQ(prompt.questions[0], QStringLiteral("Delete?\r\n2 items"));
    const auto deletes = fake.callsOf("Delete");
    ASSERT_EQ(deletes.size(), 2u);
    EXPECT_EQ(deletes[0].numbers[2], 0);
    EXPECT_EQ(deletes[1].numbers[2], 1) << "entry 2 has moved up after the first deletion";
}

TEST_F(MainWindowTest, CtrlASelectsEveryPlayerFile)
{
    start();
    attach();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    QCoreApplication::sendEvent(ui().lvwPlayer(), &press);
    EXPECT_EQ(ui().lvwPlayer()->selectedRows(), QList<int>({0, 1}));
}

} // namespace
