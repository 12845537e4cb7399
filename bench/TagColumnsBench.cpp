// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Reads title, artist and genre of a folder of MP3 files as the local file list does, and the
// same with TagLib (FileRef without audio properties), then prints how many times faster we are.
//   bench_tag_columns [--corpus DIR] [--files N] [benchmark options]
#include "Mp3Corpus.h"
#include "audio/TagColumns.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{

QStringList g_paths;

void BM_ReadTagColumns(benchmark::State& state)
{
    for (auto _ : state) {
        qsizetype characters = 0;
        for (const QString& path : g_paths) {
            const TagColumns columns = readTagColumns(path);
            characters += columns.title.size() + columns.artist.size() + columns.genre.size();
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * g_paths.size());
}

void BM_TagLibFileRef(benchmark::State& state)
{
    std::vector<std::string> paths;
    for (const QString& path : g_paths)
        paths.push_back(path.toStdString());
    for (auto _ : state) {
        size_t characters = 0;
        for (const std::string& path : paths) {
            const TagLib::FileRef file(path.c_str(), false);
            if (file.isNull() || !file.tag())
                continue;
            characters +=
                file.tag()->title().size() + file.tag()->artist().size() + file.tag()->genre().size();
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
}

BENCHMARK(BM_ReadTagColumns)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TagLibFileRef)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps the console output and remembers each benchmark's time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, std::pair<double, double>> times; // real, CPU per iteration
};

// Both readers must see the same titles, or the comparison would be meaningless.
int countDisagreements()
{
    int disagreements = 0;
    for (const QString& path : g_paths) {
        const TagLib::FileRef file(path.toStdString().c_str(), false);
        const QString theirs = file.isNull() || !file.tag()
                                   ? QString()
                                   : QString::fromStdWString(file.tag()->title().toWString());
        QString ours = readTagColumns(path).title;
        while (ours.endsWith(QChar(0)) || ours.endsWith(QLatin1Char(' ')))
            ours.chop(1);
        if (ours != theirs)
            ++disagreements;
    }
    return disagreements;
}

} // namespace

int main(int argc, char** argv)
{
    QString corpus;
    int files = 10000;
    std::vector<char*> benchmarkArgs{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--corpus") == 0 && i + 1 < argc)
            corpus = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--files") == 0 && i + 1 < argc)
            files = std::atoi(argv[++i]);
        else
            benchmarkArgs.push_back(argv[i]);
    }
    std::unique_ptr<QTemporaryDir> temporary;
    if (corpus.isEmpty()) {
        temporary = std::make_unique<QTemporaryDir>();
        corpus = temporary->path();
    }
    g_paths = Mp3Corpus::generate(corpus, files);
    if (g_paths.size() != files) {
        std::fprintf(stderr, "cannot write the corpus into %s\n", qPrintable(corpus));
        return 1;
    }
    std::fprintf(stderr, "corpus: %d files in %s; titles that differ from TagLib's: %d\n", files,
                 qPrintable(corpus), countDisagreements());

    int benchmarkArgc = static_cast<int>(benchmarkArgs.size());
    benchmark::Initialize(&benchmarkArgc, benchmarkArgs.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto ours = reporter.times["BM_ReadTagColumns"];
    const auto theirs = reporter.times["BM_TagLibFileRef"];
    if (ours.first > 0 && theirs.first > 0 && ours.second > 0)
        std::printf(
            "readTagColumns vs TagLib FileRef, %d files: %.2fx as fast in real time (%.1f ms vs %.1f ms), "
            "%.2fx in CPU time (%.1f ms vs %.1f ms)\n",
            files, theirs.first / ours.first, ours.first, theirs.first, theirs.second / ours.second,
            ours.second, theirs.second);
    return 0;
}
