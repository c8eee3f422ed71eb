# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install`, the Debian package (`make deb`) and the RPM (`make rpm`), both
# by CPack from the plain build; debian/ builds the same files with dpkg-buildpackage.
# The programs go to bin/ and their data to share/qzm836/: the installed program
# finds its data as ../share/qzm836 from its own folder, so any prefix works as long
# as the two keep that relation.
set(_qzm_programs qzm836-cli qzm836-sim)
if(QZM_BUILD_GUI)
    list(PREPEND _qzm_programs qzm836)
endif()
install(TARGETS ${_qzm_programs} RUNTIME DESTINATION bin)
install(FILES README.md DESTINATION share/doc/qzm836)

# Manual pages compressed, as distributions ship them.
set(_qzm_man_pages "")
foreach(page qzm836.1 qzm836-cli.1 qzm836-sim.1)
    set(_gz ${CMAKE_BINARY_DIR}/man/${page}.gz)
    add_custom_command(OUTPUT ${_gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/man/${page} > ${_gz}
        DEPENDS ${PROJECT_SOURCE_DIR}/man/${page} VERBATIM)
    list(APPEND _qzm_man_pages ${_gz})
endforeach()
add_custom_target(qzm_man_pages ALL DEPENDS ${_qzm_man_pages})
install(FILES ${_qzm_man_pages} DESTINATION share/man/man1)

# The copyright file and the changelog a Debian package carries in its doc folder,
# and the licence text an RPM carries.  dpkg-buildpackage installs the first two
# itself (debian/rules turns this off).
option(QZM_INSTALL_PACKAGE_DOCS "Install the copyright file, changelog and licence for CPack" ON)
if(QZM_INSTALL_PACKAGE_DOCS)
    set(_qzm_changelog ${CMAKE_BINARY_DIR}/package/changelog.gz)
    add_custom_command(OUTPUT ${_qzm_changelog}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
        COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/debian/changelog > ${_qzm_changelog}
        DEPENDS ${PROJECT_SOURCE_DIR}/debian/changelog VERBATIM)
    add_custom_target(qzm_changelog ALL DEPENDS ${_qzm_changelog})
    install(FILES ${_qzm_changelog} ${PROJECT_SOURCE_DIR}/debian/copyright
        DESTINATION share/doc/qzm836)
    # Debian keeps licence texts in /usr/share/common-licenses (the copyright file
    # points there); an RPM carries its own.  CPack names the generator it installs
    # for in QZM_CPACK_GENERATOR (cmake/CPackProjectConfig.cmake).
    install(CODE "
        if(\"\$ENV{QZM_CPACK_GENERATOR}\" STREQUAL \"RPM\")
            file(INSTALL \"${PROJECT_SOURCE_DIR}/LICENSE\"
                DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/licenses/qzm836\")
        endif()")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qzm836)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "qzm836")
# A reserved example domain: a packager puts a real name and address here and in
# debian/control and debian/changelog.
set(CPACK_PACKAGE_CONTACT "qzm836 developers <qzm836@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for the QZM-836 radio")
# Lines under 80 characters, as in debian/control.
set(CPACK_PACKAGE_DESCRIPTION "Reads the memory of a QZM-836 handheld FM radio over its USB-serial
programming cable, edits the 16 channels and the radio-wide settings,
writes them back, keeps them in .836 files and prints the channel list.
Includes qzm836-cli for shells and spreadsheets (CSV) and qzm836-sim, a
radio emulator on a pseudo-terminal.  A udev rule lets the desktop user
open the common programming cables and keeps ModemManager away from them.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackProjectConfig.cmake)
# build/qzm836_<version>_<arch>.deb and build/qzm836-<version>-1.<arch>.rpm
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries from the binaries (dpkg-shlibdeps), plus Qt's platform plugins: the
# window cannot start without them.  What is wanted but not needed is recommended:
# Qt's own translations for the standard buttons and dialogs, a font for the
# Chinese texts, the printout's font and Wayland.  The same as debian/control.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-wqy-microhei | fonts-noto-cjk, fonts-liberation2, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
# No /usr/lib/.build-id links: they belong to the debug-information packages a
# distribution builds itself, and the binaries are stripped.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none")
set(CPACK_RPM_PACKAGE_LICENSE "GPL-3.0-or-later")
set(CPACK_RPM_PACKAGE_GROUP "Applications/Communications")
set(CPACK_RPM_PACKAGE_RELEASE 1)
set(CPACK_RPM_PACKAGE_AUTOREQ ON)
# The package owns its own files and folders only, never the system's.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
    /usr/lib/udev /usr/lib/udev/rules.d /usr/share/applications /usr/share/icons
    /usr/share/icons/hicolor /usr/share/icons/hicolor/scalable
    /usr/share/icons/hicolor/scalable/apps /usr/share/licenses /usr/share/man
    /usr/share/man/man1 /usr/share/metainfo /usr/share/mime /usr/share/mime/packages)
include(CPack)
