// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window with a folder of 100,000 tagged MP3 files: time to the first painted rows,
// the longest the event loop waits while the tag columns fill in, Ctrl+A and sorting by title
// over all rows, and the memory the process holds with them shown; then the player list of a
// virtual player with 30,000 entries. The reference for the first rows is `ls -f` of the same
// folder as a whole process, in the same run.
#include "BenchWindow.h"
#include "Mp3Corpus.h"
#include "app/PlayerListModel.h"
#include "app/PlayerListView.h"
#include "vplayer/PlayerControl.h"
#include "vplayer/VirtualPlayer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace
{

constexpr int FileCount = 100000;
constexpr int PlayerEntries = 30000;

Mp3Corpus::Folder& corpus()
{
    static Mp3Corpus::Folder instance(FileCount);
    return instance;
}

double megabytesResident(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

double sinceMs(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

using Window = BenchWindow;

void BM_HundredThousandFilesInTheWindow(benchmark::State& state)
{
    if (corpus().folder.isEmpty()) {
        state.SkipWithError("the corpus could not be written");
        return;
    }
    double firstRows = 0, stall = 0, fill = 0, selectAll = 0, sortTitle = 0, listing = 0;
    for (auto _ : state) {
        // The reference: a whole process that only lists the folder.
        QElapsedTimer reference;
        reference.start();
        QProcess::execute(QStringLiteral("sh"),
                          {QStringLiteral("-c"), QStringLiteral("ls -f \"$0\" >/dev/null"), corpus().folder});
        listing += sinceMs(reference);

        // The window starts on the folder (no player: only the local list matters here); the
        // measure is choosing it again in the tree, as a user coming back to it does.
        Window w(corpus().folder);
        w.window->Load();
        w.window->show();
        while (w.ui().fileModel().isFilling())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents();

        QElapsedTimer clock;
        clock.start();
        w.ui().fldView_Change(); // what choosing the folder in the tree does
        // Rows may come after the choice returns: the clock runs until some are painted.
        while (w.ui().fileModel().count() == 0 && w.ui().fileModel().isFilling())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        w.view()->viewport()->repaint();
        firstRows += sinceMs(clock);
        state.counters["first_rows_shown"] = w.ui().fileModel().count();

        // The longest gap between turns of the event loop while the columns fill in.
        LocalFileModel& model = w.ui().fileModel();
        double longest = 0;
        QElapsedTimer turn;
        turn.start();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, sinceMs(turn));
            turn.restart();
            w.view()->viewport()->update();
        });
        tick.start(1);
        while (model.isFilling())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        tick.stop();
        stall = std::max(stall, longest);
        fill += sinceMs(clock);

        clock.restart();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
        QCoreApplication::sendEvent(w.view(), &press);
        w.view()->viewport()->repaint();
        selectAll += sinceMs(clock);

        clock.restart();
        w.ui().mnuSort_Click(2); // View → Sort → Song Title
        w.view()->viewport()->repaint();
        sortTitle += sinceMs(clock);
        state.counters["rows"] = model.count();
        state.counters["rss_MB"] = megabytesResident("VmRSS:");
        state.counters["peak_rss_MB"] = megabytesResident("VmHWM:");
        w.ui().Unload();
    }
    const double n = double(state.iterations());
    state.counters["first_rows_ms"] = firstRows / n;
    state.counters["ls_f_ms"] = listing / n;
    state.counters["longest_stall_ms"] = stall;
    state.counters["all_columns_ms"] = fill / n;
    state.counters["select_all_ms"] = selectAll / n;
    state.counters["sort_title_ms"] = sortTitle / n;
}
// The memory of the program itself: ZVD started on the folder, its resident size sampled while
// the columns fill in and a while after; the largest sample counts.
void BM_MemoryOfZvdShowingTheFolder(benchmark::State& state)
{
    if (corpus().folder.isEmpty()) {
        state.SkipWithError("the corpus could not be written");
        return;
    }
    double largest = 0;
    for (auto _ : state) {
        QTemporaryDir player; // no player attached: only the local list matters here
        QProcess zvd;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZVD_PLAYER_DIR"), player.path());
        zvd.setProcessEnvironment(environment);
        zvd.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ZVD")),
                  {corpus().folder});
        if (!zvd.waitForStarted()) {
            state.SkipWithError("ZVD did not start");
            return;
        }
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 30000 && zvd.state() == QProcess::Running) {
            QFile status(QStringLiteral("/proc/%1/status").arg(zvd.processId()));
            if (status.open(QIODevice::ReadOnly))
                for (const QByteArray& line : status.readAll().split('\n'))
                    if (line.startsWith("VmRSS:"))
                        largest =
                            std::max(largest, line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024);
            zvd.waitForFinished(200);
        }
        zvd.kill();
        zvd.waitForFinished();
    }
    state.counters["zvd_rss_MB"] = largest;
}
BENCHMARK(BM_MemoryOfZvdShowingTheFolder)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

BENCHMARK(BM_HundredThousandFilesInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ThirtyThousandEntriesInThePlayerList(benchmark::State& state)
{
    QTemporaryDir root;
    const QString player = root.filePath(QStringLiteral("player"));
    qputenv("ZVD_PLAYER_DIR", QFile::encodeName(player));
    const PlayerStore store(QFile::encodeName(player).toStdString());
    PlayerControl::reset(store, std::uint64_t(4000000000));
    const VirtualPlayer virtualPlayer(store);
    for (int n = 0; n < PlayerEntries; ++n) {
        const std::string error = virtualPlayer.addBytes(
            QFile::encodeName(QStringLiteral("song %1.mp3").arg(n, 5, 10, QLatin1Char('0'))).toStdString(),
            std::string(2000, 's'));
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    QProcess::execute(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zvdsim")),
                      {QStringLiteral("attach")});
    Window w(root.path(),
             QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libZVD_USB.so")));
    w.window->Load();
    w.window->show();
    QCoreApplication::processEvents();
    w.ui().tmrCheck_Timer(); // the poll finds the player and lists it
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        w.ui().RefreshPlayerList();
        w.ui().lvwPlayer()->viewport()->repaint();
        total += sinceMs(clock);
    }
    state.counters["player_list_ms"] = total / double(state.iterations());
    state.counters["listed"] = w.ui().playerModel()->rowCount();
    w.ui().Unload();
}
BENCHMARK(BM_ThirtyThousandEntriesInThePlayerList)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
