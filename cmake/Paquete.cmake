# Installation (cmake --install) and the Debian package (cpack -G DEB).
#   bin/velmora                     starts the program, giving a first-time
#                                   user a database of their own
#   lib/velmora/                    the program and the data-source writer
#   share/velmora/velmora.db        the demo database new users start from
#   share/velmora/imagenes/         the pictures (also built into the program)
#   share/applications, share/metainfo, share/icons: the desktop menu entry,
#   AppStream metadata and the application icon
include(GNUInstallDirs)

configure_file(${CMAKE_SOURCE_DIR}/distribucion/velmora.in ${CMAKE_BINARY_DIR}/distribucion/velmora @ONLY)

# The demo database a new user's copy starts from.
file(GLOB VELMORA_SQL_DEMO CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/db/sqlite/*.sql)
set(VELMORA_BASE_INSTALAR ${CMAKE_BINARY_DIR}/distribucion/velmora.db)
add_custom_command(
  OUTPUT ${VELMORA_BASE_INSTALAR}
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/crear_base_sqlite.sh ${VELMORA_BASE_INSTALAR}
  DEPENDS ${VELMORA_SQL_DEMO} ${CMAKE_SOURCE_DIR}/scripts/crear_base_sqlite.sh
  COMMENT "Base de datos de demostración para instalar")
add_custom_target(velmora_base_instalar ALL DEPENDS ${VELMORA_BASE_INSTALAR})

install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/velmora)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/scripts/escribir_origen.sh DESTINATION ${CMAKE_INSTALL_LIBDIR}/velmora)
install(PROGRAMS ${CMAKE_BINARY_DIR}/distribucion/velmora DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VELMORA_BASE_INSTALAR} DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/ DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora/imagenes
        FILES_MATCHING PATTERN "*.svg")
install(FILES ${CMAKE_SOURCE_DIR}/distribucion/velmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/distribucion/velmora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME org.velmora.velmora.metainfo.xml)
install(FILES ${CMAKE_SOURCE_DIR}/resources/aplicacion/velmora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tablero de indicadores clave de desempeño (KPI)")
set(CPACK_PACKAGE_INSTALL_DIRECTORY velmora)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora <velmora@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the program links come from dpkg-shlibdeps; these are the
# pieces Qt and the ODBC manager load at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-odbc, libsqliteodbc, odbcinst, qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "odbc-postgresql")
set(CPACK_GENERATOR DEB)
include(CPack)
