# What "cmake --install" puts under the prefix, and the Debian package made of it.
#   bin/                          ogrado, ogrado_n, ogrado_calc
#   lib/ogrado/                   ogrado_calc_chart.so, the drawing module of --chart
#   share/ogrado/data/            the shipped reference data and its README; the
#                                 programs find it as ../share/ogrado/data from bin/
#   share/applications/           the desktop entry of ogrado
#   share/icons/hicolor/scalable/apps/ogrado.svg
#   share/mime/packages/          the file type of source-data files (*.isx)
#   share/metainfo/               AppStream metadata
#   share/man/man1/               the manual page of ogrado_calc

install(TARGETS ogrado ogrado_n ogrado_calc RUNTIME DESTINATION bin)
install(TARGETS ogrado_calc_chart LIBRARY DESTINATION lib/ogrado)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION share/ogrado/data)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ogrado.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ogrado.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ogrado-mime.xml DESTINATION share/mime/packages RENAME ogrado.xml)

configure_file(${PROJECT_SOURCE_DIR}/packaging/by.ogrado.ogrado.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/by.ogrado.ogrado.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/by.ogrado.ogrado.metainfo.xml DESTINATION share/metainfo)

set(OGRADO_MAN_PAGE ${PROJECT_BINARY_DIR}/ogrado_calc.1.gz)
add_custom_command(OUTPUT ${OGRADO_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/packaging/ogrado_calc.1 -DOUT=${OGRADO_MAN_PAGE}
          -P ${PROJECT_SOURCE_DIR}/packaging/gzip_man.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/ogrado_calc.1 ${PROJECT_SOURCE_DIR}/packaging/gzip_man.cmake
  VERBATIM)
add_custom_target(ogrado_man_page ALL DEPENDS ${OGRADO_MAN_PAGE})
install(FILES ${OGRADO_MAN_PAGE} DESTINATION share/man/man1)

# The Debian package: "cpack -G DEB" in the build folder (scripts/package.sh) makes
# ogrado_<version>_<arch>.deb installing under /usr.
set(OGRADO_MAINTAINER "ogrado project <ogrado@localhost>"
    CACHE STRING "The Maintainer line of the Debian package")
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
# run time and is not among them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "thermal check of building envelopes / теплотехнический расчет ограждений")
# The first line of the package's description is the summary above.
set(CPACK_PACKAGE_DESCRIPTION
"ogrado checks an external wall, roof or floor of flat layers against the
Belarusian building code TKP 45-2.04-43-2006: heat-transfer resistance, thermal
inertia, the required resistance, the temperature and vapour-pressure field and
the vapour-permeation check at every layer boundary; a monthly moisture balance,
a ventilated air gap after TKP 45-3.02-113-2009, the dew point and the limits of
use. Every calculation writes a full Russian report. The package holds the window
program ogrado (menu entry), ogrado_n and the command-line ogrado_calc.

ogrado проверяет наружную стену, покрытие или перекрытие из плоских слоев по
ТКП 45-2.04-43-2006: сопротивление теплопередаче, тепловая инерция, требуемое
сопротивление, температура и упругость водяного пара в толще конструкции,
сопротивление паропроницанию на каждой границе слоев; влагонакопление по
месяцам, вентилируемая прослойка по ТКП 45-3.02-113-2009, точка росы и границы
применимости. Каждый расчет дает полный отчет на русском языке.")
include(CPack)
