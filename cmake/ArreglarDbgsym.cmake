# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack once the packages are made (CPACK_POST_BUILD_SCRIPTS).
# CPack 3.25 writes the debug-symbol package's md5sums with the absolute
# paths of its staging folder and gives it no documentation folder. This
# builds it again as Debian's own -dbgsym packages are: md5sums relative to
# the root, usr/share/doc/<package>-dbgsym a link to the main package's
# folder (its copyright and changelog), and the source it comes from.
foreach(paquete IN LISTS CPACK_PACKAGE_FILES)
  if(NOT paquete MATCHES "\\.ddeb$")
    continue()
  endif()
  set(nombre ${CPACK_PACKAGE_NAME}-dbgsym)
  set(carpeta "${paquete}.d")
  file(REMOVE_RECURSE "${carpeta}")
  execute_process(COMMAND dpkg-deb -R "${paquete}" "${carpeta}" COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB_RECURSE archivos LIST_DIRECTORIES false RELATIVE "${carpeta}" "${carpeta}/usr/*")
  set(sumas "")
  foreach(archivo IN LISTS archivos)
    file(MD5 "${carpeta}/${archivo}" suma)
    string(APPEND sumas "${suma}  ${archivo}\n")
  endforeach()
  file(WRITE "${carpeta}/DEBIAN/md5sums" "${sumas}")
  file(READ "${carpeta}/DEBIAN/control" control)
  if(NOT control MATCHES "\nSource:")
    string(REPLACE "Package: ${nombre}\n" "Package: ${nombre}\nSource: ${CPACK_PACKAGE_NAME}\n" control "${control}")
    file(WRITE "${carpeta}/DEBIAN/control" "${control}")
  endif()
  file(CHMOD "${carpeta}/DEBIAN/md5sums" "${carpeta}/DEBIAN/control"
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  file(MAKE_DIRECTORY "${carpeta}/usr/share/doc")
  # Debug files are data, not programs.
  file(CHMOD_RECURSE "${carpeta}/usr"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
       DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  file(CREATE_LINK ${CPACK_PACKAGE_NAME} "${carpeta}/usr/share/doc/${nombre}" SYMBOLIC)
  execute_process(COMMAND dpkg-deb --root-owner-group -b "${carpeta}" "${paquete}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${carpeta}")
endforeach()
