# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# cmake -DWINE=... -DZVDSIM=.../zvdsim.exe -DWORK=folder -P ZvdsimUnderWine.cmake
# Runs the Windows zvdsim under Wine on a fresh player folder: attach, record, status.
file(REMOVE_RECURSE "${WORK}/player")
file(MAKE_DIRECTORY "${WORK}/prefix")
set(ENV{WINEPREFIX} "${WORK}/prefix")
set(ENV{WINEDEBUG} "-all")
# The Windows side sees the Unix root as drive Z:.
string(REPLACE "/" "\\" player "Z:${WORK}/player")

function(zvdsim)
    execute_process(COMMAND ${WINE} ${ZVDSIM} --player ${player} ${ARGN}
        OUTPUT_VARIABLE out RESULT_VARIABLE result TIMEOUT 240)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "zvdsim ${ARGN} under Wine: ${result}\n${out}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

zvdsim(attach)
zvdsim(record memo)
zvdsim(status)
if(NOT out MATCHES "attached: yes" OR NOT out MATCHES "entries: 1")
    message(FATAL_ERROR "unexpected status under Wine:\n${out}")
endif()
if(NOT EXISTS "${WORK}/player/state")
    message(FATAL_ERROR "no state file in ${WORK}/player")
endif()
