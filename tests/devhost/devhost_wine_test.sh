#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# The Windows side under Wine, in a private 64-bit prefix with wine32:
#  1. the Linux zvdctl reaches the 32-bit virtual player DLL through zvd-devhost32.exe
#     (Unix paths translated by the host, a Unix ZVD_PLAYER_DIR taken by the DLL);
#  2. when a Windows program folder is given: zvdctl.exe finds the 32-bit ZVD_USB.dll beside it
#     and starts zvd-devhost32.exe by itself; status, send, ls, get, rm, files byte-identical;
#  3. ZVD.exe opens its window on Xvfb with the player connected (title checked, screenshot
#     taken into OUTPUT_DIR), sends a song chosen with a click and Ctrl+S through the host (the
#     window's transfers run on a worker thread), and keeps its settings in Wine's registry.
#  4. when the NSIS installer is given: it installs silently, and the installed zvdctl.exe runs.
#   devhost_wine_test.sh WINE WINESERVER BIN_DIR WIN32_BIN_DIR OUTPUT_DIR [WINDOWS_PROGRAM_DIR [INSTALLER]]
set -uo pipefail
wine=$1 wineserver=$2 bin=$3 win32=$4 output=$5 program=${6:-} installer=${7:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/devhost-wine.XXXXXX") || exit 1
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QT_QPA_PLATFORM=offscreen
export ZVD_PLAYER_DIR="$work/player" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
unset DISPLAY WAYLAND_DISPLAY ZVD_DEVICE_HOST ZVD_USB_LIBRARY
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    "$wineserver" -k >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
mkdir -p "$output" "$work/files" "$work/back"
for f in "$bin/zvdctl" "$bin/zvdsim" "$win32/zvd-devhost32.exe" "$win32/ZVD_USB.dll"; do
    [ -f "$f" ] || { echo "missing $f"; exit 1; }
done
"$wine" wineboot -i >/dev/null 2>&1 || { echo "wineboot failed"; exit 1; }

zvdsim() { "$bin/zvdsim" "$@" >/dev/null || fail "zvdsim $*"; }
make_files() {
    head -c 300000 /dev/urandom >"$work/files/song one.dat"
    head -c 123457 /dev/urandom >"$work/files/notes.bin"
}
# check_round_trip LABEL ZVDCTL...: the whole cycle with one way of calling zvdctl.
check_round_trip() {
    local label=$1
    shift
    local status
    status=$("$@" status 2>"$work/err") || fail "$label: status ($(cat "$work/err"))"
    [[ "$status" == *"Memory: "* ]] || fail "$label: status printed '$status'"
    "$@" send --view hdd "$(path "$work/files/song one.dat")" "$(path "$work/files/notes.bin")" 2>"$work/err" ||
        fail "$label: send ($(cat "$work/err"))"
    local listing
    listing=$("$@" ls --view hdd 2>"$work/err") || fail "$label: ls ($(cat "$work/err"))"
    [ "$(printf '%s\n' "$listing" | cut -f3 | tr -d '\r' | sort | tr '\n' '|')" == "notes.bin|song one.dat|" ] ||
        fail "$label: ls printed '$listing'"
    rm -rf "$work/back"/*
    "$@" get --view hdd --to "$(path "$work/back")" "song one.dat" notes.bin 2>"$work/err" ||
        fail "$label: get ($(cat "$work/err"))"
    cmp -s "$work/files/song one.dat" "$work/back/song one.dat" || fail "$label: song one.dat came back different"
    cmp -s "$work/files/notes.bin" "$work/back/notes.bin" || fail "$label: notes.bin came back different"
    "$@" rm --yes "song one.dat" notes.bin 2>"$work/err" || fail "$label: rm ($(cat "$work/err"))"
    [ -z "$("$@" ls 2>/dev/null | tr -d '\r')" ] || fail "$label: the player is not empty after rm"
}

# 1. Linux zvdctl through the 32-bit host.
path() { printf '%s' "$1"; }
zvdsim reset
zvdsim attach
make_files
check_round_trip "zvdctl through zvd-devhost32.exe" \
    "$bin/zvdctl" --device-host "\"$wine\" \"$win32/zvd-devhost32.exe\" \"$win32/ZVD_USB.dll\""
# A host that dies is reported, with status 3.
"$bin/zvdctl" --device-host "\"$wine\" \"$win32/zvd-devhost32.exe\" \"$work/no such.dll\"" status 2>"$work/err"
rc=$?
[ $rc -eq 3 ] && grep -q "the device host stopped: " "$work/err" || fail "a host without its DLL: status $rc, $(cat "$work/err")"

if [ -z "$program" ]; then
    echo "no Windows program folder given: zvdctl.exe and ZVD.exe not tested"
    [ $failures -eq 0 ] && echo "devhost under Wine: all checks passed"
    exit $((failures == 0 ? 0 : 1))
fi

# 2. zvdctl.exe in its program folder: the 32-bit DLL beside it makes it start the host itself.
path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
check_round_trip "zvdctl.exe" "$wine" "$program/zvdctl.exe"

# 3. ZVD.exe on Xvfb, showing a folder that holds one song.
zvdsim put "$work/files/notes.bin"
mkdir -p "$work/pc"
cp "$(dirname "$0")/../audio/fixtures/cbr.mp3" "$work/pc/wine song.mp3"
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
unset QT_QPA_PLATFORM
sleep 2
"$wine" "$program/ZVD.exe" "$(path "$work/pc")" >"$work/zvd.log" 2>&1 &
zvd_pid=$!
window=
for _ in $(seq 1 120); do
    window=$(xdotool search --name "ZV-R3100 Audio Manager" 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 1
done
if [ -z "$window" ]; then
    fail "ZVD.exe showed no window titled 'ZV-R3100 Audio Manager' ($(tail -5 "$work/zvd.log"))"
else
    # A few polls, so the player is connected and listed before the picture is taken.
    sleep 6
    pgrep -f "zvd-devhost32.exe" >/dev/null || fail "ZVD.exe did not start zvd-devhost32.exe for the 32-bit DLL"
    echo "ZVD.exe window: $(xdotool getwindowname "$window")"
    import -window root "$output/zvd-under-wine.png" 2>/dev/null || fail "no screenshot"
    echo "screenshot: $output/zvd-under-wine.png"
    # The song is chosen with a click on its row and sent with Ctrl+S.
    xdotool windowactivate --sync "$window" >/dev/null 2>&1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    sent=
    for _ in 1 2 3; do
        xdotool mousemove $((X + 250)) $((Y + 80)) sleep 0.5 click 1 sleep 1 key ctrl+s
        for _ in $(seq 1 30); do
            "$bin/zvdsim" ls 2>/dev/null | grep -q "wine song.mp3" && sent=1 && break
            sleep 1
        done
        [ -n "$sent" ] && break
    done
    [ -n "$sent" ] || fail "ZVD.exe did not send the song through the host"
    sleep 5 # the listing after the send ends before the window is closed
    import -window root "$output/zvd-under-wine-sent.png" 2>/dev/null
    # Closed as a user closes it (Alt+F4, which Wine turns into a close), so it saves its settings.
    xdotool windowfocus --sync "$window" >/dev/null 2>&1
    xdotool key alt+F4
fi
for _ in $(seq 1 60); do
    kill -0 $zvd_pid 2>/dev/null || break
    sleep 1
done
kill $zvd_pid 2>/dev/null
settings=$("$wine" reg query 'HKCU\Software\VB and VBA Program Settings\ZVD' /s 2>/dev/null | tr -d '\r')
printf '%s\n' "$settings" >"$output/zvd-settings.txt"
grep -qi 'ZVD\\FONT' <<<"$settings" && grep -qi 'ZVD\\Display' <<<"$settings" ||
    fail "ZVD.exe left no settings under HKCU\\Software\\VB and VBA Program Settings\\ZVD"

if [ -n "$installer" ]; then
    unset DISPLAY
    "$wine" "$installer" /S '/D=C:\ZVD' >/dev/null 2>&1 || fail "the installer failed"
    installed="$WINEPREFIX/drive_c/ZVD"
    for f in ZVD.exe zvdctl.exe zvd-devhost32.exe usbclean.exe Qt6Widgets.dll platforms/qwindows.dll \
        libstdc++-6.dll Language/english.lng Uninstall.exe; do
        [ -f "$installed/$f" ] || fail "the installer did not install $f"
    done
    genre=$(QT_QPA_PLATFORM=offscreen "$wine" 'C:\ZVD\zvdctl.exe' genre 17 2>/dev/null | tr -d '\r')
    [ "$genre" == "Rock" ] || fail "the installed zvdctl.exe printed '$genre' for genre 17"
fi

[ $failures -eq 0 ] && echo "devhost, zvdctl.exe and ZVD.exe under Wine: all checks passed"
exit $((failures == 0 ? 0 : 1))
