// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Filling the main window's local list with a folder of 10,000 tagged MP3 files (scan, tag
// columns, icons, the view's own layout and paint) against `zvdctl scan` of the same folder,
// side by side in one run; and Ctrl+A over those rows in the window.
#include "BenchWindow.h"
#include "Mp3Corpus.h"
#include "app/StatusPanels.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace
{

constexpr int FileCount = 10000;

Mp3Corpus::Folder& corpus()
{
    static Mp3Corpus::Folder instance(FileCount);
    return instance;
}

// The window with no device library, showing the corpus folder.
struct Window : BenchWindow {
    Window() : BenchWindow(corpus().folder, QString(), true) {}
};

double zvdctlScanMilliseconds()
{
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.start(
        QCoreApplication::applicationDirPath() + QStringLiteral("/zvdctl"),
        {QStringLiteral("scan"), QStringLiteral("--view"), QStringLiteral("audio"), corpus().folder});
    process.waitForFinished(-1);
    const QByteArray out = process.readAllStandardOutput();
    benchmark::DoNotOptimize(out);
    return double(clock.nsecsElapsed()) / 1e6;
}

double windowFillMilliseconds(Window& w)
{
    QElapsedTimer clock;
    clock.start();
    w.ui().fldView_Change();
    w.view()->viewport()->repaint(); // the view lays its rows out and paints them, icons included
    return double(clock.nsecsElapsed()) / 1e6;
}

void BM_FillLocalListAgainstZvdctlScan(benchmark::State& state)
{
    if (corpus().folder.isEmpty()) {
        state.SkipWithError("the corpus could not be written");
        return;
    }
    Window w;
    double scan = 0;
    double fill = 0;
    for (auto _ : state) {
        scan += zvdctlScanMilliseconds();
        fill += windowFillMilliseconds(w);
    }
    const double n = double(state.iterations());
    state.counters["zvdctl_scan_ms"] = scan / n;
    state.counters["window_fill_ms"] = fill / n;
    state.counters["ratio"] = fill / scan;
    state.counters["rows"] = w.ui().fileModel().count();
}
BENCHMARK(BM_FillLocalListAgainstZvdctlScan)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SelectAllInTheWindow(benchmark::State& state)
{
    if (corpus().folder.isEmpty()) {
        state.SkipWithError("the corpus could not be written");
        return;
    }
    Window w;
    double total = 0;
    for (auto _ : state) {
        w.view()->clearSelection();
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
        QCoreApplication::sendEvent(w.view(), &press);
        w.view()->viewport()->repaint();
        total += double(clock.nsecsElapsed()) / 1e6;
    }
    state.counters["select_all_ms"] = total / double(state.iterations());
    state.counters["summary"] = w.ui().sbrFile()->text(1).section(QLatin1Char(' '), 0, 0).toDouble();
}
BENCHMARK(BM_SelectAllInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window's settings go to a private folder, not the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
