// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvd_mp3corpus DIR N: writes N tagged MP3 files into DIR, for benchmarks and manual tests.
#include "Mp3Corpus.h"

#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    const int count = argc == 3 ? QByteArray(argv[2]).toInt() : 0;
    if (count <= 0) {
        std::fprintf(stderr, "usage: zvd_mp3corpus DIR N\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir) || Mp3Corpus::generate(dir, count).size() != count) {
        std::fprintf(stderr, "zvd_mp3corpus: cannot write the files\n");
        return 1;
    }
    return 0;
}
