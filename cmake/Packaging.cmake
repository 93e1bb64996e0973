# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `./dev package` (or cpack in any build folder) turns the
# install rules into wendaro_VERSION_ARCH.deb, installed under /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wendaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Wendaro developers <wendaro@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/wendaro/wendaro")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for STF string-table files, Japanese user interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Wendaro opens an STF string table (a binary file that maps a 16-bit index
to a name and a UTF-16 value) as a three-column list, edits its entries and
saves it back as STF or as tab-separated text. wendaro-cli converts, dumps
and checks tables from scripts.")
# Help finds readme.txt as ../share/doc/wendaro from the program's folder,
# which holds for /usr as for any other prefix.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from the binaries, through dpkg-shlibdeps; libqt6gui6
# among them carries the xcb platform plugin. What the binaries do not link
# is named here: the window's font is IPAPGothic, and Help opens readme.txt
# with the desktop's viewer, through xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# What Debian asks of every package: the licence in its machine-readable
# copyright file, and a changelog, gzipped by CPack like the manual pages.
# Its name is changelog.gz, not changelog.Debian.gz, because a version
# without a Debian revision (0.1, not 0.1-1) makes this a native package.
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/wendaro)
# Debian keeps manual pages and changelogs gzipped; the files are staged by then.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/CompressDocs.cmake)

include(CPack)
