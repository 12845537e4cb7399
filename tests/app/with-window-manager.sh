#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Runs a command on a fresh X display (Xvfb) with a small window manager (openbox), as a desktop
# would: windows get the focus and real drags go through the X server.
# Usage: with-window-manager.sh COMMAND [ARG...]
set -euo pipefail
if ! command -v xvfb-run >/dev/null || ! command -v openbox >/dev/null; then
    echo "xvfb-run and openbox are needed (scripts/deps.sh installs them)" >&2
    exit 1
fi
inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'INNER'
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
    sleep 0.1
done
status=0
"$@" || status=$?
kill "$wm" 2>/dev/null || true
exit "$status"
INNER
exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$inner" "$@"
