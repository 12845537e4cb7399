#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Runs a Windows build of usbclean (x86_64 or i686) under Wine against Wine's own registry, in a
# private 64-bit prefix, where the 32-bit and the 64-bit registry views are separate as on 64-bit
# Windows (the i686 build needs wine32).
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
vendor='SOFTWARE\Jungo'
drivers=("$device" "$services\WinDriver" "$services\wdpnp")
# Keys beside the driver's that must survive.
neighbours=('SYSTEM\CurrentControlSet\Enum\USB\Vid_04E8&Pid_1F07' "$services\ZvdNeighbour")
software_neighbour='SOFTWARE\Jungle'

# add_key PATH [VIEW]: VIEW 32 or 64 is the registry view (64 when not given).
add_key() {
    "$wine" reg add "HKLM\\$1" /v Marker /d usbclean /f "/reg:${2:-64}" >/dev/null 2>&1 ||
        { echo "cannot create $1 in the ${2:-64}-bit view"; exit 1; }
}

# key_state PATH [VIEW]: 0 present, 1 absent; anything else means Wine itself failed, which must
# not pass for "absent".
key_state() {
    "$wine" reg query "HKLM\\$1" "/reg:${2:-64}" >/dev/null 2>&1
    local rc=$?
    [ $rc -le 1 ] || { echo "reg query failed ($rc) for $1"; exit 1; }
    return $rc
}

# expect_present VIEW KEY...; expect_absent VIEW KEY...
expect_present() {
    local view=$1
    shift
    for k in "$@"; do key_state "$k" "$view" || fail "$k was deleted from the $view-bit view"; done
}
expect_absent() {
    local view=$1
    shift
    for k in "$@"; do key_state "$k" "$view" && fail "$k is still in the $view-bit view"; done
}

# What a 32-bit and a 64-bit driver installer left: the shared device and service keys, and the
# toolkit vendor's key in each view.
install_old_driver() {
    add_key "$device\\6&2F1C0A7&0&1\\Device Parameters"
    add_key "$device\\6&2F1C0A7&0&1\\LogConf"
    add_key "$device\\7&11&0&2"
    add_key "$services\WinDriver\Enum"
    add_key "$services\wdpnp\Parameters"
    add_key "$vendor\\WinDriver\\6.0" 64
    add_key "$vendor\\WinDriver\\5.2" 32
    for k in "${neighbours[@]}"; do add_key "$k"; done
    add_key "$software_neighbour" 64
    add_key "$software_neighbour" 32
}

expect_neighbours() {
    expect_present 64 "${neighbours[@]}" "$software_neighbour"
    expect_present 32 "$software_neighbour"
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
# The views really are separate here, or this test proves nothing about them.
"$wine" reg delete "HKLM\\$software_neighbour" /f /reg:64 >/dev/null 2>&1
key_state "$software_neighbour" 32 || { echo "Wine's 32-bit view is not separate (wine32 missing?)"; exit 1; }
add_key "$software_neighbour" 64

# -1 reaches the shell as 255.
run 255 "" 04E8
run 255 "" 04E8 1F06 extra
run 255 "Invalid ID" '04E8&Pid_1F06\6&2F1C0A7&0&1' LogConf
run 255 "Invalid ID" 04E8 ""
expect_present 64 "${drivers[@]}" "$vendor"
expect_present 32 "$vendor"
expect_neighbours

run 0 "" 04E8 1F06
expect_absent 64 "${drivers[@]}" "$vendor"
expect_absent 32 "${drivers[@]}" "$vendor"
expect_neighbours
expect_present 64 'SYSTEM\CurrentControlSet\Enum\USB'

# Nothing left to delete: the missing device key counts as deleted, and with no service keys
# the tool ends without asking.
run 0 "" 04E8 1F06
expect_neighbours

# Only one view holds the vendor key: it goes, and the empty other view is no failure.
for view in 32 64; do
    add_key "$device"
    add_key "$vendor\\WinDriver" $view
    run 0 "" 04E8 1F06
    expect_absent 64 "$device" "$vendor"
    expect_absent 32 "$vendor"
    expect_neighbours
done

if [ -n "$check" ]; then
    add_key 'SOFTWARE\UsbcleanAccessCheck'
    "$wine" "$check" 'SOFTWARE\UsbcleanAccessCheck' 2>/dev/null || fail "the registry backend check"
fi

[ $failures -eq 0 ] && echo "usbclean under Wine: all checks passed"
exit $((failures == 0 ? 0 : 1))
