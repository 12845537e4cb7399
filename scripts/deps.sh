#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building, testing and running ZVD need, when missing.
zvd_packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    fonts-liberation fonts-dejavu-core adwaita-icon-theme
    lame eyed3 python3-mutagen id3v2 libtag1-dev
    libavformat-dev libavcodec-dev libswresample-dev libavutil-dev libmp3lame-dev
    ffmpeg flac vorbis-tools opus-tools
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 wine32:i386
    xvfb xauth imagemagick x11-apps openbox xdotool x11-utils qt6-translations-l10n nsis
    file binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    dpkg-dev
)

zvd_install_deps() {
    local missing=()
    for p in "${zvd_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # wine32 (32-bit Windows programs under Wine) comes from the i386 architecture.
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}
