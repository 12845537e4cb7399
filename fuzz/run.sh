#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Runs every built fuzzer for SECONDS each on a copy of its seed corpus; fails on any crash,
# timeout or leak.
#   ZVD_FUZZ_BIN=build-fuzz/bin fuzz/run.sh 3
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
seconds="${1:-}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: fuzz/run.sh SECONDS" >&2
    exit 2
fi
bin="${ZVD_FUZZ_BIN:-$here/../build-fuzz/bin}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
count=0
for fuzzer in "$bin"/fuzz_*; do
    [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
    name="$(basename "$fuzzer")"
    corpus="$work/$name"
    mkdir -p "$corpus" "$work/artifacts-$name"
    if [ -d "$here/corpus/$name" ]; then
        cp -R "$here/corpus/$name/." "$corpus/"
    fi
    echo "fuzz: $name for ${seconds}s" >&2
    if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
            -artifact_prefix="$work/artifacts-$name/" "$corpus" >"$work/$name.log" 2>&1; then
        tail -n 60 "$work/$name.log" >&2
        # Keep the reproducer beside the build, where the temporary folder's removal cannot take it.
        failures="$bin/../fuzz-failures/$name"
        mkdir -p "$failures"
        cp -R "$work/artifacts-$name/." "$failures/" 2>/dev/null || true
        echo "fuzz: $name FAILED; reproducers in $failures" >&2
        exit 1
    fi
    count=$((count + 1))
done
if [ "$count" -eq 0 ]; then
    echo "fuzz: no fuzzers in $bin" >&2
    exit 1
fi
echo "fuzz: $count fuzzers ran clean" >&2
