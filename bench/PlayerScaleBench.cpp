// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// How the virtual player's cost grows with its size, measured on whole zvdctl processes: sending,
// fetching and deleting 1,000 and then 5,000 small files one command each (5 times the files
// should take at most 6 times as long), and listing a player of 30,000 entries, beside
// `zvdctl status` on that player as the floor any command pays.
#include "vplayer/VirtualPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <sys/resource.h>
#include <utility>

namespace
{

QString binDir()
{
    return QCoreApplication::applicationDirPath();
}

// Processor seconds (user and system) of the children waited for so far. On a machine shared
// with other work, wall time swings with the neighbours; this does not.
double childSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double lastCpu = 0; // processor seconds of the last run()

// Runs a program from bin/ to its end; its seconds, or a negative number when it failed.
double run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    const double cpuBefore = childSeconds();
    QElapsedTimer clock;
    clock.start();
    process.start(QDir(binDir()).filePath(program), arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("%s %s failed: %s", qPrintable(program), qPrintable(arguments.value(0)),
                 process.readAllStandardError().constData());
        return -1;
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    lastCpu = childSeconds() - cpuBefore;
    return seconds;
}

QString fileName(int n)
{
    // Long names with spaces: every one needs a "~N" short name, the costly case.
    return QStringLiteral("tiny file %1.dat").arg(n, 5, 10, QLatin1Char('0'));
}

struct Player {
    QTemporaryDir root;
    QString folder = root.filePath(QStringLiteral("player"));
    Player()
    {
        qputenv("ZVD_PLAYER_DIR", QFile::encodeName(folder));
        run(QStringLiteral("zvdsim"),
            {QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("4000000000")});
        run(QStringLiteral("zvdsim"), {QStringLiteral("attach")});
    }
};

struct Times {
    double send = 0;
    double get = 0;
    double remove = 0;
    double sendCpu = 0;
    double getCpu = 0;
    double removeCpu = 0;
};

// Sends count files to an empty player in one command, fetches them all, deletes them all.
Times sendGetRemove(int count)
{
    Player player;
    const QString pc = player.root.filePath(QStringLiteral("pc"));
    const QString back = player.root.filePath(QStringLiteral("back"));
    QDir().mkpath(pc);
    QDir().mkpath(back);
    QStringList files;
    QStringList names;
    for (int n = 0; n < count; ++n) {
        QFile file(QDir(pc).filePath(fileName(n)));
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(100, 'd')) != 100)
            qFatal("cannot write the files to send");
        files << file.fileName();
        names << fileName(n);
    }
    const QStringList view = {QStringLiteral("--yes"), QStringLiteral("--view"), QStringLiteral("hdd")};
    Times t;
    t.send = run(QStringLiteral("zvdctl"), QStringList{QStringLiteral("send")} + view + files);
    t.sendCpu = lastCpu;
    t.get = run(QStringLiteral("zvdctl"), QStringList{QStringLiteral("get")} + view +
                                              QStringList{QStringLiteral("--to"), back} + names);
    t.getCpu = lastCpu;
    t.remove =
        run(QStringLiteral("zvdctl"), QStringList{QStringLiteral("rm"), QStringLiteral("--yes")} + names);
    t.removeCpu = lastCpu;
    if (QDir(back).entryList(QDir::Files).size() != count)
        t.get = -1;
    return t;
}

void BM_PlayerCallsGrowLinearly(benchmark::State& state)
{
    Times small;
    Times large;
    for (auto _ : state) {
        const Times s = sendGetRemove(1000);
        const Times l = sendGetRemove(5000);
        if (std::min({s.send, s.get, s.remove, l.send, l.get, l.remove}) < 0) {
            state.SkipWithError("a zvdctl command failed");
            return;
        }
        for (auto [sum, one] : {std::pair{&small, &s}, std::pair{&large, &l}}) {
            sum->send += one->send;
            sum->get += one->get;
            sum->remove += one->remove;
            sum->sendCpu += one->sendCpu;
            sum->getCpu += one->getCpu;
            sum->removeCpu += one->removeCpu;
        }
    }
    const double n = double(state.iterations());
    state.counters["send_1000_s"] = small.send / n;
    state.counters["send_5000_s"] = large.send / n;
    state.counters["send_ratio"] = large.send / small.send;
    state.counters["get_1000_s"] = small.get / n;
    state.counters["get_5000_s"] = large.get / n;
    state.counters["get_ratio"] = large.get / small.get;
    state.counters["rm_1000_s"] = small.remove / n;
    state.counters["rm_5000_s"] = large.remove / n;
    state.counters["rm_ratio"] = large.remove / small.remove;
    state.counters["send_cpu_ratio"] = large.sendCpu / small.sendCpu;
    state.counters["get_cpu_ratio"] = large.getCpu / small.getCpu;
    state.counters["rm_cpu_ratio"] = large.removeCpu / small.removeCpu;
}
BENCHMARK(BM_PlayerCallsGrowLinearly)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

void BM_ListThirtyThousandEntries(benchmark::State& state)
{
    constexpr int Entries = 30000;
    Player player;
    // Filled in this process through the player's own code, which is what zvdctl send ends in.
    const VirtualPlayer virtualPlayer{PlayerStore(QFile::encodeName(player.folder).toStdString())};
    for (int n = 0; n < Entries; ++n) {
        const std::string error =
            virtualPlayer.addBytes(QFile::encodeName(fileName(n)).toStdString(), std::string(10, 'e'));
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    double ls = 0;
    double status = 0;
    double lsCpu = 0;
    double statusCpu = 0;
    for (auto _ : state) {
        const double l = run(QStringLiteral("zvdctl"), {QStringLiteral("ls")});
        lsCpu += lastCpu;
        const double s = run(QStringLiteral("zvdctl"), {QStringLiteral("status")});
        statusCpu += lastCpu;
        if (l < 0 || s < 0) {
            state.SkipWithError("zvdctl failed");
            return;
        }
        ls += l;
        status += s;
    }
    const double n = double(state.iterations());
    state.counters["ls_ms"] = ls / n * 1000;
    state.counters["status_ms"] = status / n * 1000;
    state.counters["ls_cpu_ms"] = lsCpu / n * 1000;
    state.counters["status_cpu_ms"] = statusCpu / n * 1000;
    state.counters["entries"] = Entries;
}
BENCHMARK(BM_ListThirtyThousandEntries)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // zvdctl reads its settings from here, never from the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
