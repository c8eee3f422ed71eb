# `cmake --install` and the Debian package (`make deb`, CPack).  The programs go
# to bin/ and their data to share/qzm836/: the installed program finds its data
# as ../share/qzm836 from its own folder, so any prefix works as long as the two
# keep that relation.
set(_qzm_programs qzm836-cli qzm836-sim)
if(QZM_BUILD_GUI)
    list(PREPEND _qzm_programs qzm836)
endif()
install(TARGETS ${_qzm_programs} RUNTIME DESTINATION bin)
install(FILES man/qzm836.1 man/qzm836-cli.1 man/qzm836-sim.1 DESTINATION share/man/man1)
install(FILES README.md DESTINATION share/doc/qzm836)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qzm836)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "qzm836")
set(CPACK_PACKAGE_CONTACT "qzm836 developers <qzm836@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for the QZM-836 radio")
set(CPACK_PACKAGE_DESCRIPTION "Reads the memory of a QZM-836 handheld FM radio over its USB-serial
programming cable, edits the 16 channels and the radio-wide settings, writes them
back, keeps them in .836 files and prints the channel list.  Includes qzm836-cli for
shells and spreadsheets (CSV) and qzm836-sim, a radio emulator on a pseudo-terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# build/qzm836_<version>_<arch>.deb
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# Libraries from the binaries (dpkg-shlibdeps), plus what the binaries load at
# run time without linking it: Qt's platform plugins, Qt's own translations for
# the standard buttons and dialogs, a font for the Chinese texts and one at all.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-wqy-microhei | fonts-noto-cjk, fonts-dejavu-core | fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
