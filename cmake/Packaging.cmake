# SPDX-FileCopyrightText: 2026 The ZVD developers
# SPDX-License-Identifier: MIT
# Installation and packages.
#
# Windows (the Qt for MinGW cross build): one folder that a user unpacks (ZIP) or installs (NSIS)
# and runs as it is: ZVD.exe, zvdctl.exe, usbclean.exe, zvd-devhost32.exe (from the i686 build,
# for the vendor's 32-bit ZVD_USB.DLL, which the user puts beside ZVD.exe), Qt's DLLs and plugins,
# the MinGW runtime and Language/. The virtual player goes into its own folder, so that it never
# shadows the vendor's library.
if(WIN32)
    install(TARGETS ZVD zvdctl usbclean RUNTIME DESTINATION .)
    if(ZVD_WIN_i686_BIN)
        install(PROGRAMS ${ZVD_WIN_i686_BIN}/zvd-devhost32.exe DESTINATION .)
        install(PROGRAMS ${ZVD_WIN_i686_BIN}/ZVD_USB.dll ${ZVD_WIN_i686_BIN}/zvdsim.exe DESTINATION virtual-player)
    endif()
    get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
    get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
    get_filename_component(qt_root ${qt_bin} DIRECTORY)
    install(FILES ${qt_bin}/Qt6Core.dll ${qt_bin}/Qt6Gui.dll ${qt_bin}/Qt6Widgets.dll ${qt_bin}/libstdc++-6.dll
                  ${qt_bin}/libgcc_s_seh-1.dll ${qt_bin}/libwinpthread-1.dll DESTINATION .)
    # qwindows for the window, qoffscreen for zvdctl's off-screen title rendering.
    install(FILES ${qt_root}/plugins/platforms/qwindows.dll ${qt_root}/plugins/platforms/qoffscreen.dll
            DESTINATION platforms)
    install(DIRECTORY ${qt_root}/plugins/styles ${qt_root}/plugins/imageformats DESTINATION .)
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/Language/ DESTINATION Language FILES_MATCHING PATTERN "*.lng")
    install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION .)

    set(CPACK_GENERATOR "NSIS;ZIP")
    set(CPACK_PACKAGE_NAME ZVD)
    set(CPACK_PACKAGE_VENDOR "The ZVD developers")
    set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Audio manager for the ZV-R3100 MP3 player and voice recorder")
    set(CPACK_PACKAGE_INSTALL_DIRECTORY ZVD)
    set(CPACK_PACKAGE_EXECUTABLES ZVD "ZV-R3100 Audio Manager")
    set(CPACK_NSIS_DISPLAY_NAME "ZV-R3100 Audio Manager")
    set(CPACK_NSIS_PACKAGE_NAME "ZV-R3100 Audio Manager")
    set(CPACK_NSIS_INSTALLED_ICON_NAME ZVD.exe)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    set(CPACK_PACKAGE_FILE_NAME ZVD-${PROJECT_VERSION}-windows-x86_64)
    include(CPack)
    return()
endif()

# Elsewhere: installation and the Debian package. The programs look for Language/ and the device library
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
    install(TARGETS ${program} RUNTIME DESTINATION ${ZVD_PROGRAM_DIR})
    file(CREATE_LINK ../${ZVD_PROGRAM_DIR}/${program} ${ZVD_LAUNCHER_DIR}/${launcher} SYMBOLIC)
    install(FILES ${ZVD_LAUNCHER_DIR}/${launcher} DESTINATION bin)
endforeach()

install(TARGETS ZVD_USB LIBRARY DESTINATION ${ZVD_PROGRAM_DIR} RUNTIME DESTINATION ${ZVD_PROGRAM_DIR})
if(ZVD_CONVERSION)
    # The converter, loaded by the programs beside it on the first conversion.
    install(TARGETS zvd_codecs LIBRARY DESTINATION ${ZVD_PROGRAM_DIR})
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
