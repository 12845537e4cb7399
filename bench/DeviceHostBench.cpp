// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// What the device host costs: TestConnection through the native zvd-devhost against the library
// loaded in process (10,000 calls per iteration), and sending 200 files of 5 MB in the audio view
// through the host against direct loading, in the same run.
#include "core/Prompt.h"
#include "device/DeviceHost.h"
#include "device/PlayerSession.h"
#include "device/mTCC730.h"
#include "i18n/MessageTexts.h"
#include "localfiles/FolderScanner.h"
#include "localfiles/LocalFileModel.h"
#include "transfer/SendFiles.h"
#include "transfer/TitleRenderer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <numeric>

namespace
{

constexpr int Calls = 10000;
constexpr int FileCount = 200;
constexpr qint64 FileSize = 5 * 1024 * 1024;

QString binDir()
{
    return QStringLiteral(ZVD_BENCH_BIN_DIR);
}
QString library()
{
    return binDir() + QStringLiteral("/libZVD_USB.so");
}
QString hostCommand()
{
    return QStringLiteral("\"%1/zvd-devhost\" \"%2\"").arg(binDir(), library());
}

bool zvdsim(const QStringList& arguments)
{
    return QProcess::execute(binDir() + QStringLiteral("/zvdsim"), arguments) == 0;
}

bool freshPlayer()
{
    return zvdsim({QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("4000000000")}) &&
           zvdsim({QStringLiteral("speed"), QStringLiteral("0")}) && zvdsim({QStringLiteral("attach")});
}

class NoQuestions : public Prompt
{
public:
    bool askYesNo(const QString&, const QString&) override { return true; }
    void showMessage(const QString& text, const QString&, Icon) override { qWarning("%s", qPrintable(text)); }
};

// A private player folder for the whole run, which the host inherits when it starts.
QTemporaryDir& work()
{
    static QTemporaryDir dir;
    static const bool prepared = [] {
        QDir().mkpath(dir.filePath(QStringLiteral("player")));
        qputenv("ZVD_PLAYER_DIR", QFile::encodeName(dir.filePath(QStringLiteral("player"))));
        return true;
    }();
    Q_UNUSED(prepared);
    return dir;
}

void BM_TestConnection(benchmark::State& state, bool throughHost)
{
    work();
    if (!freshPlayer()) {
        state.SkipWithError("zvdsim failed");
        return;
    }
    mTCC730 direct;
    if (!throughHost && !direct.load(library())) {
        state.SkipWithError(qPrintable(direct.error()));
        return;
    }
    if (throughHost && !DeviceHost::instance().start(hostCommand())) {
        state.SkipWithError(qPrintable(DeviceHost::instance().stopReason()));
        return;
    }
    mTCC730 hosted(DeviceHost::functions());
    mTCC730& device = throughHost ? hosted : direct;
    device.StartDLL();
    qint64 nanoseconds = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Calls; ++i) {
            if (device.TestConnection() != 1) {
                state.SkipWithError("the player is not attached");
                return;
            }
        }
        nanoseconds += timer.nsecsElapsed();
    }
    device.ExitDLL();
    state.counters["calls"] = double(Calls);
    state.counters["us_per_call"] = double(nanoseconds) / 1000.0 / (double(state.iterations()) * Calls);
}

// Seconds to send the corpus to an empty player through `device`.
double secondsToSend(mTCC730& device, const QString& corpus, bool& ok)
{
    MessageTexts texts = MessageTexts::builtIn();
    PlayerSession session(device, texts);
    session.setView(PlayerView::Audio);
    LocalFileModel local;
    local.setRows(mFileAPI::scanFolderRows(corpus, mFileAPI::ScanRule::forView(mFileAPI::ViewTab::Audio)));
    std::vector<int> all(std::size_t(local.count()));
    std::iota(all.begin(), all.end(), 0);
    NoQuestions prompt;
    ok = freshPlayer();
    // The previous send's writes reach the disk before this one is timed.
    QProcess::execute(QStringLiteral("sync"), {});
    session.tick();
    session.RefreshPlayerList();
    QElapsedTimer timer;
    timer.start();
    SendRequest request{session, prompt, local, all, 1, titleBlockMaker(LcdTitleFont()), nullptr, {}};
    const TransferOutcome outcome = SendSelectedFiles(request);
    const double seconds = timer.nsecsElapsed() / 1e9;
    ok = ok && outcome.status == TransferOutcome::Status::Done && outcome.transferred == FileCount;
    session.DisconnectPlayer();
    return seconds;
}

void BM_SendThroughHostVersusDirect(benchmark::State& state)
{
    const QString corpus = work().filePath(QStringLiteral("corpus"));
    QDir().mkpath(corpus);
    QByteArray content(FileSize, Qt::Uninitialized);
    for (qint64 i = 0; i < FileSize; ++i)
        content[i] = char((i * 131) >> 3);
    for (int n = 0; n < FileCount; ++n) {
        QFile file(QDir(corpus).filePath(QStringLiteral("song%1.mp3").arg(n, 3, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != FileSize) {
            state.SkipWithError("cannot write the corpus");
            return;
        }
    }
    mTCC730 direct;
    if (!direct.load(library()) || !DeviceHost::instance().start(hostCommand())) {
        state.SkipWithError("cannot load the library or start the host");
        return;
    }
    mTCC730 hosted(DeviceHost::functions());
    direct.StartDLL();
    hosted.StartDLL();
    double directSeconds = 0;
    double hostSeconds = 0;
    for (auto _ : state) {
        bool ok = true;
        bool hostOk = true;
        // Alternating which goes first, so neither always inherits the other's disk work.
        if (state.iterations() % 2 == 0) {
            directSeconds += secondsToSend(direct, corpus, ok);
            hostSeconds += secondsToSend(hosted, corpus, hostOk);
        } else {
            hostSeconds += secondsToSend(hosted, corpus, hostOk);
            directSeconds += secondsToSend(direct, corpus, ok);
        }
        if (!ok || !hostOk) {
            state.SkipWithError("a send stopped early");
            return;
        }
    }
    hosted.ExitDLL();
    direct.ExitDLL();
    const double n = double(state.iterations());
    state.counters["direct_s"] = directSeconds / n;
    state.counters["host_s"] = hostSeconds / n;
    state.counters["host_per_direct"] = hostSeconds / directSeconds;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::RegisterBenchmark("BM_TestConnection/direct", BM_TestConnection, false)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(3)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_TestConnection/through_host", BM_TestConnection, true)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(3)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_SendThroughHostVersusDirect", BM_SendThroughHostVersusDirect)
        ->Unit(benchmark::kSecond)
        ->Iterations(2)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DeviceHost::instance().shutDown();
    return 0;
}
