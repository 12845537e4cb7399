// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// `zvdctl scan --view audio` of 10,000 tagged MP3 files against the least any program listing
// them must do, both as whole processes in one run: the floor is this program started again as
// a minimal reader that lists the folder and reads each file's first kilobyte once (opened
// relative to the folder), printing each name and size, with no Qt and no tag parsing.
#include "Mp3Corpus.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int FileCount = 10000;
constexpr const char* FloorOption = "--floor-reader";

// The floor: one listing, then per file one open, one status query (the size), one read.
int floorReader(const char* folder)
{
    DIR* dir = ::opendir(folder);
    if (!dir)
        return 1;
    char head[1024];
    std::string out;
    while (const dirent* entry = ::readdir(dir)) {
        const std::size_t length = std::strlen(entry->d_name);
        if (length < 4 || std::strcmp(entry->d_name + length - 4, ".mp3") != 0)
            continue;
        const int fd = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat status {
        };
        const ssize_t got = ::fstat(fd, &status) == 0 ? ::read(fd, head, sizeof head) : -1;
        ::close(fd);
        if (got < 0)
            continue;
        out.append(entry->d_name, length);
        out += '\t';
        out += std::to_string(status.st_size);
        out += '\n';
    }
    ::closedir(dir);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

// Processor milliseconds (user and system) of the children waited for so far: on a machine
// shared with other work, wall time swings with the neighbours; this does not.
double childMilliseconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double milliseconds(const QString& program, const QStringList& arguments, int& lines, double& cpu)
{
    QProcess process;
    const double cpuBefore = childMilliseconds();
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    const QByteArray out = process.readAllStandardOutput();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    cpu += childMilliseconds() - cpuBefore;
    lines = process.exitCode() == 0 ? int(out.count('\n')) : -1;
    return ms;
}

void BM_ZvdctlScanAgainstOneReadPerFile(benchmark::State& state)
{
    static Mp3Corpus::Folder corpus(FileCount);
    if (corpus.folder.isEmpty()) {
        state.SkipWithError("the corpus could not be written");
        return;
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString zvdctl = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zvdctl"));
    double scan = 0;
    double floor = 0;
    double scanCpu = 0;
    double floorCpu = 0;
    for (auto _ : state) {
        int scanned = 0;
        int read = 0;
        // Alternating, so both meet the same cache and the same neighbours on the machine.
        floor += milliseconds(self, {QString::fromLatin1(FloorOption), corpus.folder}, read, floorCpu);
        scan += milliseconds(
            zvdctl,
            {QStringLiteral("scan"), QStringLiteral("--view"), QStringLiteral("audio"), corpus.folder},
            scanned, scanCpu);
        if (scanned != FileCount || read != FileCount) {
            state.SkipWithError("a reader did not list every file");
            return;
        }
    }
    const double n = double(state.iterations());
    state.counters["zvdctl_scan_ms"] = scan / n;
    state.counters["floor_ms"] = floor / n;
    state.counters["ratio"] = scan / floor;
    state.counters["zvdctl_scan_cpu_ms"] = scanCpu / n;
    state.counters["floor_cpu_ms"] = floorCpu / n;
    state.counters["cpu_ratio"] = scanCpu / floorCpu;
}
BENCHMARK(BM_ZvdctlScanAgainstOneReadPerFile)->Unit(benchmark::kMillisecond)->Iterations(15)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], FloorOption) == 0)
        return floorReader(argv[2]);
    QCoreApplication app(argc, argv);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
