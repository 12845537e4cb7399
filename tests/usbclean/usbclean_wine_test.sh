#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Runs the Windows build of usbclean under Wine against Wine's own registry, in a private prefix.
#   usbclean_wine_test.sh WINE WINESERVER USBCLEAN_EXE [REGISTRY_CHECK_EXE]
# The restart question is answered No through USBCLEAN_REBOOT_ANSWER=no, which the tool honours;
# DISPLAY is also removed, so no Wine window can ever wait for a click.
set -uo pipefail
wine=$1 wineserver=$2 exe=$3 check=${4:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/usbclean-wine.XXXXXX") || exit 1
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" USBCLEAN_REBOOT_ANSWER=no
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
    "$wineserver" -k >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

device='SYSTEM\CurrentControlSet\Enum\USB\Vid_04E8&Pid_1F06'
services='SYSTEM\CurrentControlSet\Services'
drivers=("$device" "$services\WinDriver" "$services\wdpnp" 'SOFTWARE\Jungo')
# Keys beside the driver's that must survive.
neighbours=('SYSTEM\CurrentControlSet\Enum\USB\Vid_04E8&Pid_1F07' "$services\ZvdNeighbour" 'SOFTWARE\Jungle')

add_key() {
    "$wine" reg add "HKLM\\$1" /v Marker /d usbclean /f >/dev/null 2>&1 ||
        { echo "cannot create $1"; exit 1; }
}

# 0 present, 1 absent; anything else means Wine itself failed, which must not pass for "absent".
key_state() {
    "$wine" reg query "HKLM\\$1" >/dev/null 2>&1
    local rc=$?
    [ $rc -le 1 ] || { echo "reg query failed ($rc) for $1"; exit 1; }
    return $rc
}

expect_present() { for k in "$@"; do key_state "$k" || fail "$k was deleted"; done; }
expect_absent() { for k in "$@"; do key_state "$k" && fail "$k is still there"; done; }

install_old_driver() {
    add_key "$device\\6&2F1C0A7&0&1\\Device Parameters"
    add_key "$device\\6&2F1C0A7&0&1\\LogConf"
    add_key "$device\\7&11&0&2"
    add_key "$services\WinDriver\Enum"
    add_key "$services\wdpnp\Parameters"
    add_key 'SOFTWARE\Jungo\WinDriver\6.0'
    for k in "${neighbours[@]}"; do add_key "$k"; done
}

# run EXPECTED_STATUS EXPECTED_OUTPUT ARGS...
run() {
    local want_status=$1 want_output=$2
    shift 2
    local output status
    output=$("$wine" "$exe" "$@" 2>/dev/null)
    status=$?
    [ "$status" -eq "$want_status" ] || fail "usbclean $* exited with $status, expected $want_status"
    [ "$output" == "$want_output" ] || fail "usbclean $* printed '$output', expected '$want_output'"
}

[ -f "$exe" ] || { echo "no $exe"; exit 1; }
# The first start builds the prefix; this may take a minute on a busy machine.
"$wine" wineboot -i >/dev/null 2>&1 || { echo "wineboot failed"; exit 1; }

install_old_driver
# -1 reaches the shell as 255.
run 255 "" 04E8
run 255 "" 04E8 1F06 extra
run 255 "Invalid ID" '04E8&Pid_1F06\6&2F1C0A7&0&1' LogConf
run 255 "Invalid ID" 04E8 ""
expect_present "${drivers[@]}" "${neighbours[@]}"

run 0 "" 04E8 1F06
expect_absent "${drivers[@]}"
expect_present "${neighbours[@]}" 'SYSTEM\CurrentControlSet\Enum\USB'

# Nothing left to delete: the missing device key counts as deleted, and with no service keys
# the tool ends without asking.
run 0 "" 04E8 1F06
expect_present "${neighbours[@]}"

if [ -n "$check" ]; then
    add_key 'SOFTWARE\UsbcleanAccessCheck'
    "$wine" "$check" 'SOFTWARE\UsbcleanAccessCheck' 2>/dev/null || fail "the registry backend check"
fi

[ $failures -eq 0 ] && echo "usbclean under Wine: all checks passed"
exit $((failures == 0 ? 0 : 1))
