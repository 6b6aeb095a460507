# SPDX-License-Identifier: GPL-3.0-or-later
# Installation (cmake --install) and the Debian package (cpack, or
# scripts/paquete.sh, which also checks it with lintian).
#   bin/velmora                     starts the program, giving a first-time
#                                   user a database of their own
#   lib/velmora/                    the program and the data-source writer
#   share/velmora/velmora.db        the demo database new users start from
# The pictures are built into the program (resources/, as Qt resources), so
# none are installed apart from the application icon.
#   share/applications, share/metainfo, share/icons: the desktop menu entry,
#   AppStream metadata and the application icon
#   share/man/man1/velmora.1.gz     the manual page (Spanish)
#   share/doc/velmora/              copyright and changelog.gz
# Everything the install needs is built with the program itself, so that
# cmake --install and cpack work in build/programa right after ./run.sh.
include(GNUInstallDirs)

# The team answers for the package, not a person.
set(VELMORA_MANTENEDOR "Equipo de Velmora <velmora@velmora.example>"
    CACHE STRING "Maintainer of the Debian package (name <mail>)")
set(VELMORA_DISTRIBUCION ${CMAKE_BINARY_DIR}/distribucion)

configure_file(${CMAKE_SOURCE_DIR}/distribucion/velmora.in ${VELMORA_DISTRIBUCION}/velmora @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/distribucion/velmora.1.in ${VELMORA_DISTRIBUCION}/velmora.1 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/distribucion/changelog.in ${VELMORA_DISTRIBUCION}/changelog @ONLY)

# The demo database a new user's copy starts from.
file(GLOB VELMORA_SQL_DEMO CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/db/sqlite/*.sql)
set(VELMORA_BASE_INSTALAR ${VELMORA_DISTRIBUCION}/velmora.db)
add_custom_command(
  OUTPUT ${VELMORA_BASE_INSTALAR}
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/crear_base_sqlite.sh ${VELMORA_BASE_INSTALAR}
  DEPENDS ${VELMORA_SQL_DEMO} ${CMAKE_SOURCE_DIR}/scripts/crear_base_sqlite.sh
  COMMENT "Base de datos de demostración para instalar")
# Debian keeps manual pages and changelogs compressed, without name or time
# stamp inside, so that the same sources give the same package.
foreach(archivo velmora.1 changelog)
  add_custom_command(
    OUTPUT ${VELMORA_DISTRIBUCION}/${archivo}.gz
    COMMAND gzip -9 -n -f -k ${VELMORA_DISTRIBUCION}/${archivo}
    DEPENDS ${VELMORA_DISTRIBUCION}/${archivo}
    COMMENT "Comprimiendo ${archivo}")
endforeach()
add_custom_target(velmora_distribucion ALL
  DEPENDS ${VELMORA_BASE_INSTALAR} ${VELMORA_DISTRIBUCION}/velmora.1.gz ${VELMORA_DISTRIBUCION}/changelog.gz)
add_dependencies(velmora velmora_distribucion)

# Whatever the builder's umask, the installed tree is readable by every user.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/velmora)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/scripts/escribir_origen.sh DESTINATION ${CMAKE_INSTALL_LIBDIR}/velmora)
install(PROGRAMS ${VELMORA_DISTRIBUCION}/velmora DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VELMORA_BASE_INSTALAR} DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora)
install(FILES ${CMAKE_SOURCE_DIR}/distribucion/velmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/distribucion/velmora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME org.velmora.velmora.metainfo.xml)
install(FILES ${CMAKE_SOURCE_DIR}/resources/aplicacion/velmora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${VELMORA_DISTRIBUCION}/velmora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/distribucion/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmora)
# The packaging lives with the program's own sources (a native package):
# its changelog is changelog.gz.
install(FILES ${VELMORA_DISTRIBUCION}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmora)

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Equipo de Velmora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tablero de indicadores clave de desempeño (KPI)")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora lleva, por indicador y por mes, un valor, una meta y una línea
base. Un administrador crea y elimina indicadores, corrige los valores de un
año, ve los reportes de estado principales y departamentales, la tendencia de
un indicador con su gráfica trimestral y el historial de cambios, y exporta
todos los registros a una hoja de cálculo (.xlsx). Un usuario general ve los
reportes y la tendencia. La interfaz está en castellano.

Cada usuario empieza con su propia copia de una base de datos SQLite de
demostración; varios usuarios pueden compartir una base de datos en un
servidor PostgreSQL a través de ODBC.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY velmora)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE velmora)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELMORA_MANTENEDOR}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The program goes in stripped; its debug symbols in velmora-dbgsym.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/ArreglarDbgsym.cmake)
# The libraries the program links come from dpkg-shlibdeps (libqt6svg6
# among them, which also holds the SVG plugins Qt loads); these are the
# pieces Qt and the ODBC manager load at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-odbc, libsqliteodbc, odbcinst, qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "odbc-postgresql")
include(CPack)
