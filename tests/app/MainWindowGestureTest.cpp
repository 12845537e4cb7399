// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The window driven as a user drives it: mouse presses, moves and releases on the lists'
// viewports (real drags through Qt's drag loop), keys, and clicks on the boxes that come up.
#include "MainWindowFixture.h"
#include "app/TransferProgressDialog.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDrag>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include <atomic>
#include <sys/stat.h>

namespace
{

bool waitFor(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// While Qt's drag loop runs (it starts inside the press-and-move below), the pointer moves onto
// the target and is released there.
void releaseOverLater(QWidget* target, QPoint at)
{
    QTimer::singleShot(100, target, [target, at] {
        QTest::mouseMove(target, at + QPoint(1, 0));
        QTest::mouseMove(target, at);
        QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    });
}

// Press on a row and pull it as far as a drag needs; the drag (if one starts) ends over target.
void dragRow(QAbstractItemView* source, const QModelIndex& row, QWidget* target, QPoint at)
{
    const QPoint from = source->visualRect(row).center();
    releaseOverLater(target, at);
    QTest::mousePress(source->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(source->viewport(), from + QPoint(QApplication::startDragDistance() + 5, 3));
    QTest::mouseMove(source->viewport(), from + QPoint(QApplication::startDragDistance() + 20, 8));
    QTest::mouseRelease(source->viewport(), Qt::LeftButton, {}, from);
}

QModelIndex rowNamed(const frmMain& window, const QString& name)
{
    auto& model = frmMainTestAccess(const_cast<frmMain&>(window)).fileModel();
    for (int i = 0; i < model.count(); ++i) {
        if (model.row(i).name == name)
            return model.index(i, 0);
    }
    return {};
}

void clickRow(QAbstractItemView* view, const QModelIndex& index, Qt::KeyboardModifiers keys = {})
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, keys, view->visualRect(index).center());
}

template <class T> T* openTopLevel()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<T*>(widget); found && found->isVisible())
            return found;
    }
    return nullptr;
}

// When the next message box is up, hands it to act (which must close it).
void onNextMessageBox(std::function<void(QMessageBox*)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QMessageBox* box = openTopLevel<QMessageBox>()) {
            poll->stop();
            poll->deleteLater();
            act(box);
        }
    });
    poll->start();
}

// A device whose transfers wait until the test lets them go, so a batch can be caught midway.
struct SlowDownload {
    static inline DeviceFunctions original;
    static inline std::atomic<bool> go{true};
    static inline std::atomic<int> started{0};
    static int16_t ZVD_STDCALL download(void* owner, int32_t handle, int32_t medium, const char* path)
    {
        ++started;
        QElapsedTimer clock;
        clock.start();
        while (!go && clock.elapsed() < 5000)
            QThread::msleep(5);
        return original.Download(owner, handle, medium, path);
    }
};

class GestureTest : public MainWindowTest
{
protected:
    void start() { startOn(library, &prompt); }
    void startWithRealBoxes() { startOn(library, nullptr); }
    void startOn(mTCC730& device, Prompt* answers)
    {
        window = std::make_unique<frmMain>(device, answers);
        window->resize(900, 700);
        window->Load();
        window->show();
        // The window's keys act in the active window only, as on a desktop.
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get()))
            QApplication::setActiveWindow(window.get());
        QCoreApplication::processEvents();
    }
    QAbstractItemView* localView() { return ui().lvwFile()->currentView(); }
};

TEST_F(GestureTest, DraggingSelectedPcFilesOntoThePlayerListSendsThem)
{
    start();
    attach();
    clickRow(localView(), rowNamed(*window, QStringLiteral("a.mp3")));
    clickRow(localView(), rowNamed(*window, QStringLiteral("c.wma")), Qt::ControlModifier);
    ASSERT_EQ(ui().lvwFile()->selectedRows().size(), 2);
    fake.calls.clear();
    dragRow(localView(), rowNamed(*window, QStringLiteral("a.mp3")), ui().lvwPlayer()->viewport(),
            QPoint(40, 40));
    ASSERT_TRUE(waitFor([&] { return fake.callsOf("Download").size() == 2; }));
    EXPECT_TRUE(QString::fromStdString(fake.callsOf("Download")[0].text).endsWith(QStringLiteral("a.mp3")));
    EXPECT_TRUE(QString::fromStdString(fake.callsOf("Download")[1].text).endsWith(QStringLiteral("c.wma")));
    EXPECT_TRUE(waitFor([&] { return ui().summaryLabel()->text() == QStringLiteral("2 of 2 files sent"); }))
        << ui().summaryLabel()->text().toStdString();
}

TEST_F(GestureTest, FilesDroppedFromAFileManagerAreSentExactlyAndOthersNamed)
{
    start();
    attach();
    ui().tabMode()->setCurrentIndex(2); // other files: sent as they are, no title block
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    QDir().mkpath(elsewhere);
    for (const char* name : {"one.txt", "two.doc", "not-dropped.txt"}) {
        QFile file(QDir(elsewhere).filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("data");
    }
    const QString pipe = QDir(elsewhere).filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString song = QDir(elsewhere).filePath(QStringLiteral("song.mp3"));
    QFile(song).open(QIODevice::WriteOnly);

    // A drag that starts outside the window: a source of its own, as a file manager would be.
    QWidget source;
    source.resize(50, 50);
    source.show();
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QDir(elsewhere).filePath(QStringLiteral("two.doc"))),
                   QUrl::fromLocalFile(QDir(elsewhere).filePath(QStringLiteral("one.txt"))),
                   QUrl::fromLocalFile(pipe), QUrl::fromLocalFile(song)});
    fake.calls.clear();
    releaseOverLater(ui().lvwPlayer()->viewport(), QPoint(40, 40));
    QTest::mousePress(&source, Qt::LeftButton, {}, QPoint(10, 10));
    auto* drag = new QDrag(&source);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
    QTest::mouseRelease(&source, Qt::LeftButton, {}, QPoint(10, 10));

    ASSERT_TRUE(waitFor([&] { return fake.callsOf("Download").size() == 2; }));
    QCoreApplication::processEvents();
    const auto downloads = fake.callsOf("Download");
    EXPECT_EQ(QString::fromStdString(downloads[0].text),
              QDir::toNativeSeparators(QDir(elsewhere).filePath(QStringLiteral("two.doc"))));
    EXPECT_EQ(QString::fromStdString(downloads[1].text),
              QDir::toNativeSeparators(QDir(elsewhere).filePath(QStringLiteral("one.txt"))));
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].contains(QStringLiteral("pipe.txt"))) << "a pipe is never read";
    EXPECT_TRUE(prompt.messages[0].contains(QStringLiteral("song.mp3"))) << "music is not sent in this view";
    EXPECT_FALSE(prompt.messages[0].contains(QStringLiteral("not-dropped")));
}

TEST_F(GestureTest, CancelInTheProgressWindowStopsTheBatchAfterTheFileUnderWay)
{
    SlowDownload::original = fake.table();
    DeviceFunctions slow = fake.table();
    slow.Download = &SlowDownload::download;
    mTCC730 slowLibrary(slow);
    SlowDownload::go = false;
    SlowDownload::started = 0;
    startOn(slowLibrary, &prompt);
    attach();
    ui().tabMode()->setCurrentIndex(2);
    clickRow(localView(), ui().fileModel().index(0, 0));
    QTest::keyClick(localView(), Qt::Key_A, Qt::ControlModifier);
    ui().tabMode()->setCurrentIndex(0);
    clickRow(localView(), rowNamed(*window, QStringLiteral("a.mp3")));
    clickRow(localView(), rowNamed(*window, QStringLiteral("b.mp3")), Qt::ControlModifier);
    clickRow(localView(), rowNamed(*window, QStringLiteral("c.wma")), Qt::ControlModifier);
    fake.calls.clear();

    QString noteAfterCancel;
    bool windowLive = false;
    auto* poll = new QTimer(window.get());
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
        auto* progress = openTopLevel<TransferProgressDialog>();
        if (!progress || SlowDownload::started == 0)
            return;
        poll->stop();
        // The window's thread is free while the device works: the click is taken at once.
        windowLive = true;
        QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("cancel")), Qt::LeftButton);
        noteAfterCancel = progress->noteText();
        EXPECT_TRUE(progress->fileRunning()) << "the first file is still under way";
        SlowDownload::go = true;
    });
    poll->start();
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(windowLive);
    EXPECT_EQ(noteAfterCancel, ui().windowTexts().cancelling);
    EXPECT_EQ(fake.callsOf("Download").size(), 1u) << "the second and third files were not started";
    EXPECT_EQ(ui().summaryLabel()->text(), QStringLiteral("1 of 3 files sent; cancelled"));
    EXPECT_TRUE(window->isEnabled());
    SlowDownload::go = true;
    window->close(); // before the library it runs on goes
    window.reset();
}

TEST_F(GestureTest, YesToAllReplacesEveryFileOfTheBatchAfterOneQuestionThatNamesTheFile)
{
    writeFile(QStringLiteral("Song.mp3"), 10);
    writeFile(QStringLiteral("Tune.mp3"), 10);
    startWithRealBoxes();
    attach();
    clickRow(localView(), rowNamed(*window, QStringLiteral("Song.mp3")));
    clickRow(localView(), rowNamed(*window, QStringLiteral("Tune.mp3")), Qt::ControlModifier);
    fake.calls.clear();
    QStringList asked;
    onNextMessageBox([&](QMessageBox* box) {
        asked << box->text();
        QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("yesToAll")), Qt::LeftButton);
    });
    QTest::mouseClick(ui().tbrTool()->widgetForAction(ui().toolButton(QStringLiteral("Download"))),
                      Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("Song.mp3"))) << asked[0].toStdString();
    EXPECT_EQ(fake.callsOf("Delete").size(), 2u);
    EXPECT_EQ(fake.callsOf("Download").size(), 2u);
}

TEST_F(GestureTest, NoToAllKeepsEveryPlayerFileAndSendsNone)
{
    writeFile(QStringLiteral("Song.mp3"), 10);
    writeFile(QStringLiteral("Tune.mp3"), 10);
    startWithRealBoxes();
    attach();
    clickRow(localView(), rowNamed(*window, QStringLiteral("Song.mp3")));
    clickRow(localView(), rowNamed(*window, QStringLiteral("Tune.mp3")), Qt::ControlModifier);
    fake.calls.clear();
    onNextMessageBox([](QMessageBox* box) {
        QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("noToAll")), Qt::LeftButton);
    });
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(fake.callsOf("Delete").empty());
    EXPECT_TRUE(fake.callsOf("Download").empty());
    EXPECT_EQ(ui().summaryLabel()->text(), QStringLiteral("0 of 0 files sent"));
}

TEST_F(GestureTest, QuestionsThatEraseAnswerNoToEnter)
{
    startWithRealBoxes();
    attach();
    ui().lvwPlayer()->setFocus();
    QTest::keyClick(ui().lvwPlayer(), Qt::Key_Down);
    fake.calls.clear();
    bool defaultIsNo = false;
    onNextMessageBox([&](QMessageBox* box) {
        defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
        QTest::keyClick(box, Qt::Key_Return);
    });
    QTest::keyClick(ui().lvwPlayer(), Qt::Key_Delete);
    EXPECT_TRUE(defaultIsNo);
    EXPECT_TRUE(fake.callsOf("Delete").empty());

    onNextMessageBox([&](QMessageBox* box) {
        defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
        QTest::keyClick(box, Qt::Key_Return);
    });
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(defaultIsNo);
    EXPECT_TRUE(fake.callsOf("Format").empty());
}

// When the next file dialog is up, picks the file in it and presses its Open button.
void onNextFileDialog(const QString& file)
{
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, file] {
        QFileDialog* dialog = openTopLevel<QFileDialog>();
        auto* buttons = dialog ? dialog->findChild<QDialogButtonBox*>() : nullptr;
        if (!buttons)
            return;
        poll->stop();
        poll->deleteLater();
        dialog->selectFile(file);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
    poll->start();
}

TEST_F(GestureTest, TheFirmwareUpgradeAsksBeforeItWritesAndNoLeavesThePlayerUntouched)
{
    startWithRealBoxes();
    attach();
    const QString firmware = dir.filePath(QStringLiteral("NEW.ZVF"));
    {
        QFile file(firmware);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64, 'F'));
    }
    fake.calls.clear();
    QString question;
    bool defaultIsNo = false;
    onNextFileDialog(firmware);
    onNextMessageBox([&](QMessageBox* box) {
        question = box->text();
        defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
        QTest::keyClick(box, Qt::Key_Return); // Enter takes the default: No
    });
    QTest::keyClick(window.get(), Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(question.contains(QStringLiteral("NEW.ZVF"))) << question.toStdString();
    EXPECT_TRUE(defaultIsNo);
    EXPECT_TRUE(fake.callsOf("ConvertHexToBin").empty());
    EXPECT_TRUE(fake.callsOf("UpgradeFirmware").empty());
    EXPECT_TRUE(window->isVisible()) << "the window stays open";

    // Asked again and answered Yes with a click: the player gets the new firmware.
    onNextFileDialog(firmware);
    onNextMessageBox([&](QMessageBox* box) {
        QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        // Then the notice that the upgrade is done.
        onNextMessageBox([](QMessageBox* done) { QTest::keyClick(done, Qt::Key_Return); });
    });
    QTest::keyClick(window.get(), Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(fake.callsOf("UpgradeFirmware").size(), 1u);
}

TEST_F(GestureTest, TheKeyboardAloneSendsFetchesRenamesAndDeletes)
{
    start();
    attach();
    // Send: a PC file chosen with the arrow keys, Enter sends it.
    localView()->setFocus();
    QTest::keyClick(localView(), Qt::Key_Down);
    QTest::keyClick(localView(), Qt::Key_Home);
    fake.calls.clear();
    QTest::keyClick(localView(), Qt::Key_Return);
    ASSERT_EQ(fake.callsOf("Download").size(), 1u);
    EXPECT_TRUE(QString::fromStdString(fake.callsOf("Download")[0].text).endsWith(QStringLiteral("a.mp3")));

    // Fetch: the voice view with the keys of the tab strip, then Ctrl+G.
    ui().tabMode()->setFocus();
    QTest::keyClick(ui().tabMode(), Qt::Key_Right);
    ASSERT_EQ(ui().selectedTab(), 2);
    ui().lvwPlayer()->setFocus();
    QTest::keyClick(ui().lvwPlayer(), Qt::Key_Home);
    QTest::keyClick(ui().lvwPlayer(), Qt::Key_Space); // the only row is current already
    fake.calls.clear();
    EXPECT_TRUE(ui().playerAction(QStringLiteral("Fetch"))->isEnabled());
    QTest::keyClick(ui().lvwPlayer(), Qt::Key_G, Qt::ControlModifier);
    ASSERT_EQ(fake.callsOf("Upload").size(), 1u);

    // Rename: F2, type, Enter; the extension is kept.
    fake.calls.clear();
    ui().lvwPlayer()->setFocus();
    QTest::keyClick(ui().lvwPlayer(), Qt::Key_F2);
    // The editor takes the focus through the window system, which may answer late.
    ASSERT_TRUE(waitFor([] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr; }));
    QWidget* editor = QApplication::focusWidget();
    qobject_cast<QLineEdit*>(editor)->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Memo"));
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return fake.callsOf("Rename").size() == 1; }));
    EXPECT_EQ(fake.callsOf("Rename")[0].text, "Memo.zvd");

    // Delete: the Delete key, then the question.
    fake.calls.clear();
    ui().lvwPlayer()->setFocus();
    QTest::keyClick(ui().lvwPlayer(), Qt::Key_Home);
    QTest::keyClick(ui().lvwPlayer(), Qt::Key_Delete);
    ASSERT_EQ(fake.callsOf("Delete").size(), 1u);
    EXPECT_EQ(fake.callsOf("Delete")[0].numbers[2], 1) << "entry index of rec001.zvd";
}

TEST_F(GestureTest, ARenameToANameThePlayerCannotStoreIsExplained)
{
    start();
    attach();
    ui().lvwPlayer()->setFocus();
    QTest::keyClick(ui().lvwPlayer(), Qt::Key_Down);
    for (const QString& typed :
         {QString(), QStringLiteral("   "), QStringLiteral("a/b"), QStringLiteral("x?")}) {
        fake.calls.clear();
        prompt.messages.clear();
        QTest::keyClick(ui().lvwPlayer(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->clear();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_TRUE(fake.callsOf("Rename").empty())
            << typed.toStdString() << " " << fake.callNames().join(QLatin1Char(' ')).toStdString();
        ASSERT_EQ(prompt.messages.size(), 1) << typed.toStdString();
        EXPECT_TRUE(prompt.messages[0].startsWith(ui().windowTexts().renameBad));
        ui().lvwPlayer()->setFocus();
    }
}

TEST_F(GestureTest, ActionsThatCannotRunAreDisabled)
{
    start();
    QAction* send = ui().playerAction(QStringLiteral("Send"));
    EXPECT_FALSE(send->isEnabled()) << "no player";
    EXPECT_FALSE(ui().toolButton(QStringLiteral("Format"))->isEnabled());
    attach();
    EXPECT_FALSE(send->isEnabled()) << "nothing selected";
    EXPECT_TRUE(ui().toolButton(QStringLiteral("Format"))->isEnabled());
    clickRow(localView(), ui().fileModel().index(0, 0));
    EXPECT_TRUE(send->isEnabled());
    EXPECT_TRUE(ui().tbrTool()->widgetForAction(ui().toolButton(QStringLiteral("Download")))->isEnabled());
    EXPECT_FALSE(ui().playerAction(QStringLiteral("Delete"))->isEnabled());
    EXPECT_EQ(ui().tbrTool()->widgetForAction(ui().toolButton(QStringLiteral("Download")))->focusPolicy(),
              Qt::TabFocus);
}

TEST_F(GestureTest, TheStatusBarFollowsANewLanguageAtOnce)
{
    start();
    attach();
    EXPECT_EQ(ui().sbrStatus()->text(1), QStringLiteral("Connected"));
    ui().chooseLanguage(writeLanguage(QStringLiteral("other.lng"), QStringLiteral("X-")));
    EXPECT_EQ(ui().sbrStatus()->text(1), QStringLiteral("X-Connected"));
    EXPECT_TRUE(ui().sbrStatus()->text(2).startsWith(QStringLiteral("X-Memory")));
}

TEST_F(GestureTest, QtsOwnButtonsSpeakTheLocaleTheLanguageFileNames)
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    start();
    const QString file = writeLanguage(QStringLiteral("deutsch.lng"), QStringLiteral("D-"));
    QFile lng(file);
    ASSERT_TRUE(lng.open(QIODevice::ReadOnly));
    QByteArray bytes = lng.readAll();
    lng.close();
    bytes.replace("[UI]\r\n", "[UI]\r\nLocale = de\r\n");
    ASSERT_TRUE(lng.open(QIODevice::WriteOnly | QIODevice::Truncate));
    lng.write(bytes);
    lng.close();
    ui().chooseLanguage(file);
    QMessageBox german(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(german.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
    ui().chooseLanguage(languageFile); // no locale: Qt's English again
    QMessageBox english(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(english.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes"));
}

TEST_F(GestureTest, AboutNamesVersionLicenceAndTheDeviceLibrary)
{
    start();
    window->setLibraryDescription(QStringLiteral("/opt/lib/libZVD_USB.so"));
    const QString text = ui().aboutText();
    EXPECT_TRUE(text.contains(QStringLiteral("1.0.75")) ||
                text.contains(QCoreApplication::applicationVersion()));
    EXPECT_TRUE(text.contains(QStringLiteral("MIT")));
    EXPECT_TRUE(text.contains(QStringLiteral("/opt/lib/libZVD_USB.so")));
}

TEST_F(GestureTest, AClickOnAColumnHeaderSortsAndTicksTheViewMenu)
{
    start();
    QTreeView* details = ui().lvwFile()->detailView();
    QHeaderView* header = details->header();
    const int sizeColumn = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(sizeColumn, header->height() / 2));
    EXPECT_TRUE(ui().sortAction(1)->isChecked());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(ui().fileModel().row(0).name, QStringLiteral("c.wma")) << "smallest first";
    const int genreColumn = header->sectionViewportPosition(4) + 5;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(genreColumn, header->height() / 2));
    EXPECT_TRUE(ui().sortAction(4)->isChecked());
    EXPECT_EQ(header->sortIndicatorSection(), 4);
}

} // namespace
