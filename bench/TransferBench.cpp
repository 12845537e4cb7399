// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Sending music to the virtual player against plain `cp` of the same files, in one run.
// Each iteration sends 200 files of 5 MB in the audio view (title blocks and all) to an empty
// player with the speed limit off, then copies the same files with one `cp`, each after the
// disk has caught up with the writing before it; the counters give both times and their ratio. The first
// benchmark sends in this process, the second runs zvdctl.
#include "core/Prompt.h"
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

#include <unistd.h>

namespace
{

constexpr int FileCount = 200;
constexpr qint64 FileSize = 5 * 1024 * 1024;

QString binDir()
{
    return QStringLiteral(ZVD_BENCH_BIN_DIR);
}

bool zvdsim(const QStringList& arguments)
{
    return QProcess::execute(binDir() + QStringLiteral("/zvdsim"), arguments) == 0;
}

class NoQuestions : public Prompt
{
public:
    bool askYesNo(const QString&, const QString&) override { return true; }
    void showMessage(const QString& text, const QString&, Icon) override { qWarning("%s", qPrintable(text)); }
};

void makeCorpus(const QString& folder)
{
    QByteArray content(FileSize, Qt::Uninitialized);
    for (qint64 i = 0; i < FileSize; ++i)
        content[i] = char((i * 131) >> 3);
    for (int n = 0; n < FileCount; ++n) {
        QFile file(QDir(folder).filePath(QStringLiteral("song%1.mp3").arg(n, 3, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != FileSize)
            qFatal("cannot write the corpus");
    }
}

// Writes every dirty page to the disk before a timed part, so that neither side pays for the
// other's writing (the corpus, the last send or the last cp: a gigabyte each).
void settleDisk(benchmark::State& state)
{
    state.PauseTiming();
    ::sync();
    state.ResumeTiming();
}

double secondsOfCp(const QString& source, const QString& target)
{
    QStringList arguments = QDir(source).entryList(QDir::Files, QDir::Name);
    for (QString& name : arguments)
        name = QDir(source).filePath(name);
    arguments << target;
    QElapsedTimer timer;
    timer.start();
    if (QProcess::execute(QStringLiteral("cp"), arguments) != 0)
        qFatal("cp failed");
    return timer.nsecsElapsed() / 1e9;
}

void BM_SendToVirtualPlayerVersusCp(benchmark::State& state)
{
    QTemporaryDir work;
    const QString corpus = work.filePath(QStringLiteral("corpus"));
    const QString player = work.filePath(QStringLiteral("player"));
    QDir().mkpath(corpus);
    QDir().mkpath(player);
    qputenv("ZVD_PLAYER_DIR", QFile::encodeName(player));
    makeCorpus(corpus);

    MessageTexts texts = MessageTexts::builtIn();
    mTCC730 library;
    if (!library.load(binDir() + QStringLiteral("/libZVD_USB.so"))) {
        state.SkipWithError(qPrintable(library.error()));
        return;
    }
    library.StartDLL();
    PlayerSession session(library, texts);
    session.setView(PlayerView::Audio);
    LocalFileModel local;
    local.setRows(mFileAPI::scanFolderRows(corpus, mFileAPI::ScanRule::forView(mFileAPI::ViewTab::Audio)));
    std::vector<int> all(std::size_t(local.count()));
    std::iota(all.begin(), all.end(), 0);
    NoQuestions prompt;

    double sendSeconds = 0;
    double cpSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!zvdsim({QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("4000000000")}) ||
            !zvdsim({QStringLiteral("speed"), QStringLiteral("0")}) || !zvdsim({QStringLiteral("attach")})) {
            state.SkipWithError("zvdsim failed");
            return;
        }
        session.ConnectPlayer();
        session.RefreshPlayerList();
        const QString cpTarget = work.filePath(QStringLiteral("cp-%1").arg(state.iterations()));
        QDir().mkpath(cpTarget);
        ::sync();
        state.ResumeTiming();

        QElapsedTimer timer;
        timer.start();
        SendRequest request{session, prompt, local, all, 1, titleBlockMaker(LcdTitleFont()), nullptr, {}};
        const TransferOutcome outcome = SendSelectedFiles(request);
        sendSeconds += timer.nsecsElapsed() / 1e9;
        if (outcome.status != TransferOutcome::Status::Done || outcome.transferred != FileCount) {
            const QByteArray why =
                QStringLiteral("the send stopped after %1 of %2 files (status %3, free %4 bytes)")
                    .arg(outcome.transferred)
                    .arg(FileCount)
                    .arg(int(outcome.status))
                    .arg(session.freeBytes())
                    .toUtf8();
            state.SkipWithError(why.constData());
            return;
        }
        settleDisk(state);
        cpSeconds += secondsOfCp(corpus, cpTarget);

        state.PauseTiming();
        QDir(cpTarget).removeRecursively();
        session.DisconnectPlayer();
        state.ResumeTiming();
    }
    const double n = double(state.iterations());
    session.DisconnectPlayer();
    library.ExitDLL();
    state.counters["send_s"] = sendSeconds / n;
    state.counters["cp_s"] = cpSeconds / n;
    state.counters["send_per_cp"] = sendSeconds / cpSeconds;
    state.counters["send_MBps"] = FileCount * double(FileSize) / (1 << 20) / (sendSeconds / n);
}
BENCHMARK(BM_SendToVirtualPlayerVersusCp)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

// The same send as a user runs it: one whole `zvdctl send --yes --view audio` process against
// one whole `cp` process, alternating on the same files.
void BM_ZvdctlSendVersusCp(benchmark::State& state)
{
    QTemporaryDir work;
    const QString corpus = work.filePath(QStringLiteral("corpus"));
    const QString player = work.filePath(QStringLiteral("player"));
    QDir().mkpath(corpus);
    qputenv("ZVD_PLAYER_DIR", QFile::encodeName(player));
    makeCorpus(corpus);
    QStringList files = QDir(corpus).entryList(QDir::Files, QDir::Name);
    for (QString& name : files)
        name = QDir(corpus).filePath(name);

    double sendSeconds = 0;
    double cpSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!zvdsim({QStringLiteral("reset"), QStringLiteral("--capacity"), QStringLiteral("4000000000")}) ||
            !zvdsim({QStringLiteral("speed"), QStringLiteral("0")}) || !zvdsim({QStringLiteral("attach")})) {
            state.SkipWithError("zvdsim failed");
            return;
        }
        const QString cpTarget = work.filePath(QStringLiteral("cp-%1").arg(state.iterations()));
        QDir().mkpath(cpTarget);
        ::sync();
        state.ResumeTiming();

        QElapsedTimer timer;
        timer.start();
        const int status = QProcess::execute(binDir() + QStringLiteral("/zvdctl"),
                                             QStringList{QStringLiteral("send"), QStringLiteral("--yes"),
                                                         QStringLiteral("--view"), QStringLiteral("audio")} +
                                                 files);
        sendSeconds += timer.nsecsElapsed() / 1e9;
        if (status != 0) {
            state.SkipWithError("zvdctl send failed");
            return;
        }
        settleDisk(state);
        cpSeconds += secondsOfCp(corpus, cpTarget);

        state.PauseTiming();
        QDir(cpTarget).removeRecursively();
        state.ResumeTiming();
    }
    state.counters["zvdctl_send_s"] = sendSeconds / double(state.iterations());
    state.counters["cp_s"] = cpSeconds / double(state.iterations());
    state.counters["send_per_cp"] = sendSeconds / cpSeconds;
}
BENCHMARK(BM_ZvdctlSendVersusCp)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // Title blocks are rendered off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
