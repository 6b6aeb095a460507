# SPDX-License-Identifier: GPL-3.0-or-later
# velmora_biblioteca(<target> FUENTES <files>... [PUBLICAS <deps>...] [PRIVADAS <deps>...])
# One static library from an explicit list of the folder's files. A .cpp or .h
# in the folder that the list leaves out stops the configure, naming the file,
# so a new file is never silently missing from the build.
#
# PUBLICAS are the libraries its headers include; PRIVADAS those only its .cpp
# files use. Its headers are reached as "<folder below src>/<file>.h" through
# an include root of its own that holds only them, and a library sees only
# the roots of what it links: including a header of a library it does not
# link fails to compile, so the layering cannot drift.
function(velmora_biblioteca nombre)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FUENTES;PUBLICAS;PRIVADAS")
  velmora_comprobar_lista(${arg_FUENTES})
  add_library(${nombre} STATIC ${arg_FUENTES})
  target_link_libraries(${nombre} PUBLIC ${arg_PUBLICAS} PRIVATE ${arg_PRIVADAS})
  velmora_raiz_propia(${nombre} ${arg_FUENTES})
endfunction()

# The library's include root: links to its own headers, nothing else.
function(velmora_raiz_propia nombre)
  file(RELATIVE_PATH carpeta ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  set(raiz ${CMAKE_BINARY_DIR}/raices/${nombre})
  file(REMOVE_RECURSE ${raiz})
  file(MAKE_DIRECTORY ${raiz}/${carpeta})
  foreach(archivo IN LISTS ARGN)
    if(archivo MATCHES "\\.h$")
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${archivo} ${raiz}/${carpeta}/${archivo} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${nombre} PUBLIC ${raiz})
endfunction()

# Fails the configure for each .cpp/.h of the current folder not in the list.
function(velmora_comprobar_lista)
  file(GLOB presentes CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(archivo IN LISTS presentes)
    if(NOT archivo IN_LIST ARGN)
      message(SEND_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${archivo} is not in the library's source list "
                         "(add it to ${CMAKE_CURRENT_LIST_FILE})")
    endif()
  endforeach()
endfunction()
