# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Installation and the Debian package. The programs look for Language/ and the device library
# beside their own executable, so they are installed side by side in <prefix>/lib/zvd exactly as
# the build lays them out in build/bin; <prefix>/bin gets launchers (relative symbolic links, which
# the programs resolve to their real folder).
set(ZVD_PROGRAM_DIR lib/zvd)
set(ZVD_LAUNCHER_DIR ${CMAKE_BINARY_DIR}/launchers)
file(MAKE_DIRECTORY ${ZVD_LAUNCHER_DIR})

# target -> launcher name in <prefix>/bin
set(ZVD_INSTALLED_PROGRAMS ZVD:zvd zvdctl:zvdctl zvdsim:zvdsim)
foreach(entry ${ZVD_INSTALLED_PROGRAMS})
    string(REPLACE ":" ";" pair ${entry})
    list(GET pair 0 program)
    list(GET pair 1 launcher)
    # Parts still being built may not exist yet; they join the package once they do.
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${ZVD_PROGRAM_DIR})
        file(CREATE_LINK ../${ZVD_PROGRAM_DIR}/${program} ${ZVD_LAUNCHER_DIR}/${launcher} SYMBOLIC)
        install(FILES ${ZVD_LAUNCHER_DIR}/${launcher} DESTINATION bin)
    endif()
endforeach()

if(TARGET ZVD_USB)
    install(TARGETS ZVD_USB LIBRARY DESTINATION ${ZVD_PROGRAM_DIR} RUNTIME DESTINATION ${ZVD_PROGRAM_DIR})
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/Language/ DESTINATION ${ZVD_PROGRAM_DIR}/Language
        FILES_MATCHING PATTERN "*.lng")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zvd.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zvd.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION share/doc/zvd)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zvd)
set(CPACK_PACKAGE_VENDOR "The ZVD developers")
set(CPACK_PACKAGE_CONTACT "The ZVD developers <zvd@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Audio manager for the ZV-R3100 MP3 player and voice recorder")
set(CPACK_PACKAGE_DESCRIPTION
    "Sends music to the player with LCD titles rendered from ID3 tags, fetches voice recordings, manages \
the player's files and firmware. Includes zvdctl (command line) and a virtual player (zvdsim, libZVD_USB.so).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# Library dependencies come from dpkg-shlibdeps; the Qt platform plugins (xcb for the window,
# offscreen for zvdctl) ship with libqt6gui6. Liberation Sans stands in for the default LCD font
# Arial with the same widths.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
include(CPack)
