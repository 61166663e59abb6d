# The Debian package: `cmake --build --preset release --target package` makes
# quolix_<version>_<arch>.deb from what `cmake --install` lays out, under /usr.

set(QUOLIX_PACKAGE_MAINTAINER "Quolix maintainers <maintainers@quolix.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

# Debian's place for the copyright file; the package's name, not the project's.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quolix)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quolix)
set(CPACK_PACKAGE_VENDOR Quolix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed programs carry no debugging symbols; dpkg-shlibdeps reads the
# stripped files as well.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "frequency counter data logger")
set(CPACK_PACKAGE_DESCRIPTION
    "Quolix turns a bench frequency counter on a serial port into a frequency\n"
    "data logger. It polls the counter four times a second, shows the live\n"
    "reading in kHz, records an adaptively sampled history of up to about 96\n"
    "days, draws and prints the frequency-deviation graph and keeps recordings\n"
    "in .qlx files. Its user interface is in Japanese.\n"
    "\n"
    "The package holds the desktop application quolix, the command-line\n"
    "recorder and file tool quolix-cli, and quolix-counter-sim, a simulated\n"
    "counter on a pseudo-terminal for trying the programs without hardware.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUOLIX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The graph's font face is substituted by IPA P Gothic; Qt's own dialogs
# speak Japanese only with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n")

include(CPack)
