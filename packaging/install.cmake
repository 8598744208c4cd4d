# SPDX-License-Identifier: GPL-3.0-or-later
# What "cmake --install" puts under the prefix, and the Debian package made of it.
#   bin/                          ogrado, ogrado_n, ogrado_calc
#   lib/ogrado/                   ogrado_calc_chart.so, the drawing module of --chart
#   share/ogrado/data/            the shipped reference data and its README; the
#                                 programs find it as ../share/ogrado/data from bin/
#   share/applications/           the desktop entry of ogrado
#   share/icons/hicolor/scalable/apps/ogrado.svg
#   share/mime/packages/          the file type of source-data files (*.isx)
#   share/metainfo/               AppStream metadata
#   share/man/man1/               the manual pages of ogrado (with ogrado_n) and ogrado_calc
#   share/doc/ogrado/             copyright (the licences, machine-readable) and changelog.gz
#   share/lintian/overrides/      the package checker's notes on the Windows-1251 data

install(TARGETS ogrado ogrado_n ogrado_calc RUNTIME DESTINATION bin)
install(TARGETS ogrado_calc_chart LIBRARY DESTINATION lib/ogrado)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION share/ogrado/data)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ogrado.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ogrado.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ogrado-mime.xml DESTINATION share/mime/packages RENAME ogrado.xml)

configure_file(${PROJECT_SOURCE_DIR}/packaging/by.ogrado.ogrado.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/by.ogrado.ogrado.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/by.ogrado.ogrado.metainfo.xml DESTINATION share/metainfo)

# Manual pages and the changelog, compressed without a time stamp so that the same
# text always gives the same file.
function(ogrado_gzip_file source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DIN=${source} -DOUT=${output} -P ${PROJECT_SOURCE_DIR}/packaging/gzip_man.cmake
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/packaging/gzip_man.cmake
    VERBATIM)
endfunction()
set(OGRADO_MAN_PAGES)
foreach(page ogrado.1 ogrado_n.1 ogrado_calc.1)
  ogrado_gzip_file(${PROJECT_SOURCE_DIR}/packaging/${page} ${PROJECT_BINARY_DIR}/${page}.gz)
  list(APPEND OGRADO_MAN_PAGES ${PROJECT_BINARY_DIR}/${page}.gz)
endforeach()
ogrado_gzip_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_target(ogrado_man_page ALL DEPENDS ${OGRADO_MAN_PAGES} ${PROJECT_BINARY_DIR}/changelog.gz)
install(FILES ${OGRADO_MAN_PAGES} DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION share/doc/ogrado)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides RENAME ogrado)

# The Debian package: "cpack -G DEB" in the build folder (scripts/package.sh) makes
# ogrado_<version>_<arch>.deb installing under /usr.
# The Maintainer line: the project's own name and the address its commits carry, which
# receives no mail; whoever publishes a package gives theirs with -DOGRADO_MAINTAINER=.
set(OGRADO_DEFAULT_MAINTAINER "ogrado developers <dev@ogrado.invalid>")
set(OGRADO_MAINTAINER "${OGRADO_DEFAULT_MAINTAINER}" CACHE STRING "The Maintainer line of the Debian package")
# A build folder configured before still holds the earlier local stand-in.
if(OGRADO_MAINTAINER STREQUAL "ogrado project <ogrado@localhost>")
  set_property(CACHE OGRADO_MAINTAINER PROPERTY VALUE "${OGRADO_DEFAULT_MAINTAINER}")
endif()
set(CPACK_PACKAGE_NAME ogrado)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ogrado project")
set(CPACK_PACKAGE_CONTACT "${OGRADO_MAINTAINER}")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${OGRADO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the X11 platform plugin of Qt is loaded at
# run time and is not among them. CPack calls ldconfig after installing because the
# drawing module is a shared object under /usr/lib (lintian:
# maintscript-calls-ldconfig): needless for a private module, and harmless.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's Russian catalogue for its standard windows (file, print, print preview): without
# it the program works and those windows speak English, so it is recommended, which
# apt installs by default, rather than required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "thermal check of building envelopes / теплотехнический расчет ограждений")
# The first line of the package's description is the summary above.
set(CPACK_PACKAGE_DESCRIPTION
"ogrado checks an external wall, roof or floor of flat layers against the
Belarusian building code TKP 45-2.04-43-2006: heat-transfer resistance,
thermal inertia, the required resistance, the temperature and vapour-pressure
field and the vapour-permeation check at every layer boundary; a monthly
moisture balance, a ventilated air gap after TKP 45-3.02-113-2009, the dew
point and the limits of use. Every calculation writes a full Russian report.
The package holds the window program ogrado (menu entry), ogrado_n and the
command-line ogrado_calc.

ogrado проверяет наружную стену, покрытие или перекрытие из плоских слоев по
ТКП 45-2.04-43-2006: сопротивление теплопередаче, тепловая инерция, требуемое
сопротивление, температура и упругость водяного пара в толще конструкции,
сопротивление паропроницанию на каждой границе слоев; влагонакопление по
месяцам, вентилируемая прослойка по ТКП 45-3.02-113-2009, точка росы и границы
применимости. Каждый расчет дает полный отчет на русском языке.")
include(CPack)
