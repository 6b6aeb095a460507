# velmora_biblioteca(<target> FUENTES <files>... [PUBLICAS <deps>...] [PRIVADAS <deps>...])
# One static library from an explicit list of the folder's files. A .cpp or .h
# in the folder that the list leaves out stops the configure, naming the file,
# so a new file is never silently missing from the build.
function(velmora_biblioteca nombre)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FUENTES;PUBLICAS;PRIVADAS")
  velmora_comprobar_lista(${arg_FUENTES})
  add_library(${nombre} STATIC ${arg_FUENTES})
  target_link_libraries(${nombre} PUBLIC ${arg_PUBLICAS} PRIVATE ${arg_PRIVADAS})
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
