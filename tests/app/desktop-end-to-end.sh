#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# ZVD on a desktop, driven from outside with xdotool as a user drives it: a PC file dragged onto
# the player list, a recording dragged back, F2 rename, the Delete key's question (No by
# default), and a switch to German in the options. The player is checked with zvdctl, the files
# with sha256. Without a display it starts one of its own (with-window-manager.sh). Rows, lists
# and tabs are found on the screen (desktop-layout.py), not at fixed pixels. Every step waits for
# what it needs (a window, a question, an entry on the player), never a fixed time alone, so a
# loaded machine only makes it slower. Exits 77 (skipped) when a desktop tool is missing.
# Usage: desktop-end-to-end.sh BIN_FOLDER
set -euo pipefail
for tool in xdotool xprop xwininfo import compare sha256sum python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing" >&2; exit 77; }
done
if [ -z "${DISPLAY:-}" ]; then
    for tool in xvfb-run openbox; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is missing" >&2; exit 77; }
    done
    exec "$(dirname "$0")/with-window-manager.sh" "$0" "$@"
fi
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
zvd_pid=""
cleanup() {
    if [ -n "$zvd_pid" ]; then
        kill "$zvd_pid" 2>/dev/null || true
        wait "$zvd_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
# Killed (a test timeout, Ctrl+C): leave through the EXIT trap, so ZVD and the folder go too.
trap 'exit 143' TERM HUP
trap 'exit 130' INT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data ZVD_PLAYER_DIR=$work/player
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
mkdir -p "$work/pc" "$work/check" "$XDG_CONFIG_HOME/ZVD" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# A place and size (twips) that leave room for both lists on the 1280x800 screen.
cat >"$XDG_CONFIG_HOME/ZVD/ZVD.ini" <<INI
[Display]
Left=1500
Top=600
Width=13500
Height=10500
HSplit=3000
VSplit=4500
Language=$bin/Language/english.lng
PATH=$work/pc
INI
head -c 300000 /dev/urandom >"$work/pc/song.mp3"

zvdsim() { "$bin/zvdsim" "$@" >/dev/null; }
zvdctl() { "$bin/zvdctl" "$@"; }
fail() { echo "FAIL: $*" >&2; import -window root "${ZVD_E2E_SHOT:-/tmp/zvd-e2e-failure.png}" 2>/dev/null || true; exit 1; }
# Waits up to 60 s for a command to succeed.
until_true() {
    for _ in $(seq 300); do "$@" && return 0; sleep 0.2; done
    return 1
}
# A gesture tried up to three times until its effect shows (the machine may be slow to draw).
attempt() { # check gesture...
    local check=$1; shift
    for _ in 1 2 3; do
        "$@"
        for _ in $(seq 75); do eval "$check" && return 0; sleep 0.2; done
    done
    return 1
}
# Shown windows whose title holds the text.
windows_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
# Answers the question box with a key once it is up (a second window of that title), then waits
# until it has gone.
question_up() { [ "$(windows_named "Audio Manager")" -ge 2 ]; }
answer() {
    until_true question_up || fail "no question was asked"
    local box
    box=$(xdotool search --onlyvisible --name "Audio Manager" | grep -vx "$window" | head -1)
    # The box is modal and has the keyboard once it is active; keys sent to a window id instead
    # arrive as synthetic events, which Qt ignores.
    xdotool windowactivate --sync "$box" 2>/dev/null || true
    xdotool key "$1"
    until_true eval '! question_up' || fail "the question did not close"
}
listed() { zvdctl ls --view "$1" | cut -f3 | grep -qx "$2"; }
not_listed() { ! listed "$@"; }

zvdsim reset
zvdsim attach
zvdsim record MEMO0001

"$bin/ZVD" "$work/pc" >"$work/zvd.log" 2>&1 &
zvd_pid=$!
until_true xdotool search --onlyvisible --name "Audio Manager" >/dev/null || fail "the window did not open"
window=$(xdotool search --onlyvisible --name "Audio Manager" | head -1)

# Where things lie is read from the screen, never assumed: xwininfo gives the client area (the
# window manager's frame left out), desktop-layout.py finds the lists and tabs in a screenshot of it.
client() {
    eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print "cx=" $NF}
        /Absolute upper-left Y/ {print "cy=" $NF} /^ *Width:/ {print "cw=" $NF} /^ *Height:/ {print "ch=" $NF}')"
}
shot() { client && import -window root -crop "${cw}x${ch}+${cx}+${cy}" +repage -depth 8 "ppm:$1"; }
at() { echo $((cx + $1)) $((cy + $2)); }
focus() { xdotool windowactivate --sync "$window" 2>/dev/null || true; }
layout() {
    focus
    shot "$work/layout.ppm" && eval "$(python3 "$here/desktop-layout.py" layout "$work/layout.ppm")"
}
# Measured once, before any row is selected (a selected row would cut a list's white area short);
# the window keeps its size, and client() follows it if it moves.
until_true layout || fail "the lists and tabs were not found on the screen"
drag() { # from x y to x y (client coordinates)
    client
    xdotool mousemove $(at "$1" "$2") sleep 0.3 mousedown 1 sleep 0.3
    xdotool mousemove $(at $(($1 + 12)) $(($2 + 6))) sleep 0.3
    xdotool mousemove $(at "$3" "$4") sleep 0.3 mousemove $(at $(($3 + 4)) $(($4 + 4))) sleep 0.3 mouseup 1
}
click() { client && xdotool mousemove $(at "$1" "$2") sleep 0.2 click 1 sleep 0.3; }
# Waits until the client area differs from screenshot $1 between rows $2 and $3, and prints the
# changed band's centre.
changed_from() {
    for _ in $(seq 25); do
        shot "$work/after.ppm"
        python3 "$here/desktop-layout.py" changed "$1" "$work/after.ppm" "$2" "$3" 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}
# Selects a list's first row with the keyboard and finds it on the screen: the rows that change
# when Ctrl+Space takes the selection off it and puts it back. Sets row="x y".
first_row() { # pc|player
    focus
    local top bottom
    eval "top=\$${1}_top bottom=\$${1}_bottom"
    click "$list_x" $((bottom - 20)) # an empty part of the list: it takes the keyboard
    xdotool key Home sleep 0.3
    shot "$work/before.ppm"
    xdotool key ctrl+space
    row=$(changed_from "$work/before.ppm" "$top" "$bottom") || return 1
    xdotool key ctrl+space sleep 0.3
}

# 1. A PC song dragged onto the player list is sent.
send_song() { first_row pc && drag $row "$list_x" $((player_bottom - 20)); }
attempt "listed audio song.mp3" send_song || fail "song.mp3 did not arrive on the player"
zvdctl get --view audio --to "$work/check" song.mp3
[ "$(sha256sum <"$work/pc/song.mp3")" = "$(sha256sum <"$work/check/song.mp3")" ] || fail "song.mp3 changed on the way"

# 2. A recording dragged from the player list onto the PC list is fetched.
until_true listed record MEMO0001.ZVD || fail "no recording listed"
show_recordings() {
    focus
    shot "$work/tabs.ppm"
    local x y
    read -r x y <<<"$record_tab"
    click "$x" "$y"
    changed_from "$work/tabs.ppm" $((y - 10)) $((y + 10)) >/dev/null
}
attempt "true" show_recordings || fail "the recordings view did not open"
fetch_recording() { first_row player && drag $row "$list_x" $((pc_bottom - 20)); }
attempt "test -f '$work/pc/MEMO0001.ZVD'" fetch_recording || fail "the recording was not fetched"
zvdctl get --view record --to "$work/check" MEMO0001.ZVD
[ "$(sha256sum <"$work/pc/MEMO0001.ZVD")" = "$(sha256sum <"$work/check/MEMO0001.ZVD")" ] ||
    fail "the fetched recording differs from the player's"

# 3. F2 renames the recording; the extension stays.
rename_recording() {
    first_row player || return 1
    xdotool key F2 sleep 1 key ctrl+a type --delay 50 Interview
    xdotool key Return
}
attempt "listed record Interview.ZVD" rename_recording || fail "the rename did not reach the player"

# 4. Delete asks first, and Enter (No is the default) keeps the file.
first_row player || fail "the recording is not in the player list"
xdotool key Delete
answer Return
listed record Interview.ZVD || fail "Enter on the delete question deleted the file"

# 5. German from the options: the window and its status bar follow at once.
# The lower left corner of the client area: the status bar's connection panel.
corner() { client && import -window root -crop 250x24+$((cx))+$((cy + ch - 24)) +repage "$1"; }
focus
corner "$work/english.png"
# The language list names each language in its own words: "d" picks Deutsch.
options_open() { [ "$(windows_named "^Options$")" -ge 1 ]; }
choose_german() {
    focus
    xdotool key Escape sleep 0.3 key alt+t sleep 0.5 key o
    until_true options_open || return 1
    local dialog
    dialog=$(xdotool search --onlyvisible --name "^Options$" | head -1)
    xdotool windowactivate --sync "$dialog" 2>/dev/null || true
    xdotool key alt+l sleep 0.3 type d
    xdotool key Return
    until_true eval '! options_open'
}
attempt "xdotool getwindowname $window | grep -q 'Audio-Manager'" choose_german ||
    fail "the window did not switch to German"
german_corner() { corner "$work/german.png"; }
status_changed() {
    local changed
    changed=$(compare -metric AE "$work/english.png" "$work/german.png" null: 2>&1 || true)
    [ "${changed%% *}" != "0" ]
}
attempt status_changed german_corner || fail "the status bar kept its English text"
grep -qx "Language=$bin/Language/german.lng" "$XDG_CONFIG_HOME/ZVD/ZVD.ini" || fail "German was not stored"
echo "1 passed, 0 failed"
