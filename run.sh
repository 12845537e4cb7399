#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and starts ZVD on the virtual player.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
zvd_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j $(( $(nproc) + 1 ))
if [ -x build/bin/ZVD ]; then
    exec build/bin/ZVD "$@"
fi
exec build/bin/zvdctl --help
