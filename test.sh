#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything and runs every test.
#   ./test.sh             the normal build, Windows cross builds, all tests, short fuzz runs
#   ./test.sh --sanitize  the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
zvd_install_deps

sanitize=0
for arg in "$@"; do
    case "$arg" in
        --sanitize) sanitize=1 ;;
        *) echo "usage: ./test.sh [--sanitize]" >&2; exit 2 ;;
    esac
done
jobs=$(( $(nproc) + 1 ))

extra=()
if [ $sanitize -eq 0 ]; then
    # The Qt-free parts also build for Windows; their tests run the results under Wine.
    for arch in x86_64 i686; do
        if command -v $arch-w64-mingw32-g++ >/dev/null; then
            cmake -S . -B build-win-$arch -G Ninja -DCMAKE_BUILD_TYPE=Release -DZVD_PLAIN_ONLY=ON \
                -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$arch.cmake >/dev/null
            cmake --build build-win-$arch -j $jobs
            extra+=(-DZVD_WIN_${arch}_BIN="$PWD/build-win-$arch/bin")
        fi
    done
    build=build
    cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
else
    build=build-sanitize
    cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZVD_SANITIZE=ON -DZVD_BENCH=OFF >/dev/null
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake --build $build -j $jobs
(cd $build && ctest --output-on-failure -j $jobs)

if [ $sanitize -eq 0 ] && [ -f fuzz/run.sh ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZVD_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j $jobs
    ZVD_FUZZ_BIN="$PWD/build-fuzz/bin" fuzz/run.sh 3
fi
echo "All tests passed."
