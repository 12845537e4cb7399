// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Converting a batch of FLAC files to MP3 at V2, as a send converts them (the conversion queue,
// one file per core), against `ffmpeg -i x.flac -codec:a libmp3lame -q:a 2` run one per core on
// the same files in the same run. Default: 20 files of 3 minutes; ZVD_BENCH_CONVERT_FILES and
// ZVD_BENCH_CONVERT_SECONDS make it smaller. The counters give both times and their ratio.
#include "convert/ConversionQueue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace
{

int setting(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

// Music-like input (a chord with noise) compresses and encodes like music, unlike a pure tone.
QStringList makeFlacFiles(const QString& folder, int count, int seconds)
{
    const QString first = QDir(folder).filePath(QStringLiteral("song-0.flac"));
    const QString source =
        QStringLiteral("aevalsrc=0.3*sin(220*2*PI*t)+0.2*sin(331*2*PI*t+sin(3*t))+0.1*"
                       "random(0)|0.3*sin(277*2*PI*t)+0.2*sin(440*2*PI*t)+0.1*random(1):s=44100:d=%1")
            .arg(seconds);
    QProcess::execute(QStringLiteral("ffmpeg"),
                      {"-v", "error", "-y", "-f", "lavfi", "-i", source, "-c:a", "flac", first});
    QStringList files{first};
    for (int i = 1; i < count; ++i) {
        files.append(QDir(folder).filePath(QStringLiteral("song-%1.flac").arg(i)));
        QFile::copy(first, files.last());
    }
    return files;
}

double ours(const QStringList& files)
{
    QElapsedTimer clock;
    clock.start();
    std::vector<ConversionQueue::Job> jobs;
    for (int i = 0; i < files.size(); ++i)
        jobs.push_back({files[i], QStringLiteral("song-%1.mp3").arg(i)});
    ConversionQueue queue(std::move(jobs), ConversionQuality(), {});
    for (int i = 0; i < files.size(); ++i) {
        if (!queue.take(i).result.ok)
            std::abort();
        queue.release(i);
    }
    return double(clock.nsecsElapsed()) / 1e9;
}

double peer(const QStringList& files, const QString& outFolder)
{
    const int cores = qBound(1, QThread::idealThreadCount(), 2);
    QElapsedTimer clock;
    clock.start();
    QList<QProcess*> running;
    int next = 0;
    while (next < files.size() || !running.isEmpty()) {
        while (running.size() < cores && next < files.size()) {
            auto* process = new QProcess;
            process->start(QStringLiteral("ffmpeg"),
                           {"-v", "error", "-y", "-i", files[next], "-codec:a", "libmp3lame", "-q:a", "2",
                            QDir(outFolder).filePath(QStringLiteral("peer-%1.mp3").arg(next))});
            running.append(process);
            ++next;
        }
        QProcess* first = running.takeFirst();
        first->waitForFinished(-1);
        delete first;
    }
    return double(clock.nsecsElapsed()) / 1e9;
}

void ConvertBatchAgainstFfmpeg(benchmark::State& state)
{
    QTemporaryDir folder;
    const QStringList files = makeFlacFiles(folder.path(), setting("ZVD_BENCH_CONVERT_FILES", 20),
                                            setting("ZVD_BENCH_CONVERT_SECONDS", 180));
    double oursTotal = 0, peerTotal = 0;
    for (auto _ : state) {
        const double a = ours(files);
        const double b = peer(files, folder.path());
        state.SetIterationTime(a);
        oursTotal += a;
        peerTotal += b;
    }
    state.counters["ours_s"] = oursTotal / double(state.iterations());
    state.counters["ffmpeg_s"] = peerTotal / double(state.iterations());
    state.counters["ratio"] = oursTotal / peerTotal;
}

BENCHMARK(ConvertBatchAgainstFfmpeg)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
