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

# The code follows .clang-format: a file that does not fails the run like any test.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z '*.cpp' '*.h' '*.c'
else
    find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0
fi | xargs -0 clang-format --dry-run -Werror

# ZVD.exe and zvdctl.exe with the Qt for MinGW from the shared toolchains (unpacked into the build
# folder), their NSIS installer and ZIP, and the installed program folder that the Wine test runs
# (with the i686 virtual player DLL put beside it as the vendor's DLL would be). The Qt build is
# heavy: two jobs, and only when the tarball is there.
windows_program_build() {
    local tarball=${ZVD_QT_MINGW_TARBALL:-../shared/toolchains/qt6-mingw64-6.4.2.tar.xz}
    [ -f "$tarball" ] || tarball=/work/shared/toolchains/qt6-mingw64-6.4.2.tar.xz
    if [ ! -f "$tarball" ] || [ ! -f build-win-i686/bin/zvd-devhost32.exe ]; then
        echo "Qt for MinGW (qt6-mingw64-6.4.2.tar.xz) not found: ZVD.exe and zvdctl.exe are not built or run under Wine"
        return 0
    fi
    local q=$PWD/build-win-qt/qt6-mingw64
    if [ ! -f build-win-qt/unpacked ] || [ "$tarball" -nt build-win-qt/unpacked ]; then
        rm -rf "$q" && mkdir -p build-win-qt && tar -C build-win-qt -xJf "$tarball" && touch build-win-qt/unpacked
    fi
    cmake -S . -B build-win-qt/gui -G Ninja -DCMAKE_BUILD_TYPE=Release -DZVD_TESTS=OFF -DZVD_BENCH=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$q/lib/cmake/Qt6/qt.toolchain.cmake" -DQT_CHAINLOAD_TOOLCHAIN_FILE="$q/mingw64-posix.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DZVD_WIN_i686_BIN="$PWD/build-win-i686/bin" >/dev/null
    cmake --build build-win-qt/gui -j 2
    rm -rf build-win-qt/program
    cmake --install build-win-qt/gui --prefix "$PWD/build-win-qt/program" >/dev/null
    cp build-win-i686/bin/ZVD_USB.dll build-win-qt/program/ZVD_USB.dll
    (cd build-win-qt/gui && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
    local installer
    installer=$(ls "$PWD"/build-win-qt/gui/ZVD-*-windows-x86_64.exe)
    ls build-win-qt/gui/ZVD-*-windows-x86_64.zip "$installer"
    extra+=(-DZVD_WIN_PROGRAM_DIR="$PWD/build-win-qt/program" -DZVD_WIN_INSTALLER="$installer")
}

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
    windows_program_build
    build=build
    cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
else
    build=build-sanitize
    cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZVD_SANITIZE=ON -DZVD_BENCH=OFF >/dev/null
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    # Leaks inside system libraries we do not own (D-Bus under a desktop session) are not ours.
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
fi
cmake --build $build -j $jobs
(cd $build && ctest --output-on-failure -j $jobs)

if [ $sanitize -eq 0 ] && [ -f fuzz/run.sh ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZVD_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j $jobs
    ZVD_FUZZ_BIN="$PWD/build-fuzz/bin" fuzz/run.sh 3
fi
echo "All tests passed."
