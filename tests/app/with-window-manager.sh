#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Runs a command on a fresh X display (Xvfb) with a small window manager (openbox), as a desktop
# would: windows get the focus and real drags go through the X server. Stopped with TERM, INT or
# HUP, it stops the command and the window manager and lets xvfb-run close its display and remove
# its files, so nothing is left running or lying in /tmp.
# Usage: with-window-manager.sh COMMAND [ARG...]
set -euo pipefail
if ! command -v xvfb-run >/dev/null || ! command -v openbox >/dev/null; then
    echo "xvfb-run and openbox are needed (scripts/deps.sh installs them)" >&2
    exit 1
fi
# Runs inside xvfb-run. The command runs in the background so a TERM is taken at once.
inner='
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
command=""
stop() {
    [ -n "$command" ] && kill "$command" 2>/dev/null
    wait "$command" 2>/dev/null
    kill "$wm" 2>/dev/null
    exit 143
}
trap stop TERM INT HUP
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
    sleep 0.1
done
"$@" &
command=$!
status=0
wait "$command" || status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit "$status"
'
xvfb-run -a -s "-screen 0 1280x800x24" bash -c "$inner" with-window-manager "$@" &
runner=$!
# Only the shell under xvfb-run is told to stop: xvfb-run itself then ends the X server and
# removes its authority file, which it would not do if it were killed.
stop() {
    local child
    for child in $(ps -o pid= --ppid "$runner" 2>/dev/null); do
        [ "$(ps -o comm= -p "$child" 2>/dev/null)" = bash ] && kill "$child" 2>/dev/null
    done
    wait "$runner" 2>/dev/null
    exit 143
}
trap stop TERM INT HUP
status=0
wait "$runner" || status=$?
exit "$status"
