// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl sync of a folder of 1,000 tagged MP3 files to an empty virtual player against zvdctl
// send of the same files, in one run; then a re-sync of the unchanged folder. Each iteration
// starts from an empty player and no sync record; the counters give the times and the ratio.
#include "Mp3Corpus.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace
{

constexpr int FileCount = 1000;
constexpr int ResyncRuns = 5;

QString binDir()
{
    return QStringLiteral(ZVD_BENCH_BIN_DIR);
}

double secondsOf(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(binDir() + QLatin1Char('/') + program, arguments);
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("%s failed", qPrintable(program));
    return timer.nsecsElapsed() / 1e9;
}

void emptyPlayer(const QString& data)
{
    QDir(data + QStringLiteral("/ZVD/sync")).removeRecursively();
    secondsOf(QStringLiteral("zvdsim"),
              {QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("1073741824")});
    secondsOf(QStringLiteral("zvdsim"), {QStringLiteral("attach")});
}

void BM_SyncVersusSendAndResync(benchmark::State& state)
{
    QTemporaryDir work;
    const QString corpus = work.filePath(QStringLiteral("corpus"));
    const QString data = work.filePath(QStringLiteral("data"));
    QDir().mkpath(corpus);
    qputenv("ZVD_PLAYER_DIR", work.filePath(QStringLiteral("player")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", work.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("ZVD_USB_LIBRARY", (binDir() + QStringLiteral("/libZVD_USB.so")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QStringList files = Mp3Corpus::generate(corpus, FileCount);
    if (files.size() != FileCount)
        qFatal("cannot write the corpus");

    double send = 0, sync = 0, resync = 0, fastestResync = 1e9;
    for (auto _ : state) {
        emptyPlayer(data);
        send += secondsOf(QStringLiteral("zvdctl"),
                          QStringList{QStringLiteral("send"), QStringLiteral("--yes")} + files);
        emptyPlayer(data);
        sync += secondsOf(QStringLiteral("zvdctl"), {QStringLiteral("sync"), corpus});
        // Several re-syncs: on a shared machine one of them shows the cost without waiting for a core.
        for (int i = 0; i < ResyncRuns; ++i) {
            const double seconds = secondsOf(QStringLiteral("zvdctl"), {QStringLiteral("sync"), corpus});
            resync += seconds / ResyncRuns;
            fastestResync = std::min(fastestResync, seconds);
        }
    }
    const double n = double(state.iterations());
    state.counters["send_s"] = send / n;
    state.counters["sync_s"] = sync / n;
    state.counters["sync_over_send"] = sync / send;
    state.counters["resync_ms"] = resync / n * 1000;
    state.counters["resync_fastest_ms"] = fastestResync * 1000;
}

} // namespace

BENCHMARK(BM_SyncVersusSendAndResync)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
