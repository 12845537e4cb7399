#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and starts ZVD on the virtual player.
# A first run prepares a virtual player with a few songs and a voice recording, and a folder of
# demo songs to send from; later runs keep whatever the player holds.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
zvd_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j $(( $(nproc) + 1 ))
if [ ! -x build/bin/ZVD ]; then
    exec build/bin/zvdctl --help
fi

bin="$PWD/build/bin"
data="${XDG_DATA_HOME:-$HOME/.local/share}/ZVD"
player="${ZVD_PLAYER_DIR:-$data/player}"
# The demo songs go where a user keeps music: the folder tree leaves hidden folders such as
# ~/.local out.
demo="${XDG_MUSIC_DIR:-$HOME/Music}/ZVD demo songs"

# Five seconds of a sine tone, encoded by lame and tagged by eyeD3 (or mid3v2).
make_song() { # file frequency title artist genre
    local file=$1 freq=$2
    [ -f "$file" ] && return 0
    python3 -c "
import math, struct, sys
rate = 22050
sys.stdout.buffer.write(b''.join(struct.pack('<h', int(6000 * math.sin(2 * math.pi * $freq * i / rate)))
                                 for i in range(rate * 5)))" |
        lame --quiet -r -s 22.05 -m m --bitwidth 16 -b 64 - "$file" 2>/dev/null
    if command -v eyeD3 >/dev/null; then
        eyeD3 --quiet --title "$3" --artist "$4" --genre "$5" "$file" >/dev/null 2>&1 || true
    elif command -v mid3v2 >/dev/null; then
        mid3v2 --song "$3" --artist "$4" --genre "$5" "$file" >/dev/null 2>&1 || true
    fi
}

mkdir -p "$demo"
make_song "$demo/Morning Light.mp3" 440 "Morning Light" "The Pale Lanterns" "Pop"
make_song "$demo/Harbour Song.mp3" 523 "Harbour Song" "Mira Olsen" "Folk"
make_song "$demo/Night Drive.mp3" 330 "Night Drive" "Static Avenue" "Electronic"
make_song "$demo/Blue Hour.mp3" 392 "Blue Hour" "Mira Olsen" "Jazz"

# A player that has never been used gets two songs and a voice recording.
open_folder=()
if [ ! -d "$player" ] || [ -z "$(ls -A "$player" 2>/dev/null)" ]; then
    export ZVD_PLAYER_DIR="$player"
    "$bin/zvdsim" reset >/dev/null
    "$bin/zvdsim" attach >/dev/null
    "$bin/zvdctl" send --view audio --yes "$demo/Morning Light.mp3" "$demo/Night Drive.mp3"
    "$bin/zvdsim" record MEMO0001 >/dev/null
    open_folder=("$demo")
fi
ZVD_PLAYER_DIR="$player" "$bin/zvdsim" attach >/dev/null

export ZVD_PLAYER_DIR="$player"
if [ $# -eq 0 ]; then
    exec "$bin/ZVD" "${open_folder[@]}"
fi
exec "$bin/ZVD" "$@"
