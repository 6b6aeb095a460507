# velmora_biblioteca(<target> <dependencies>...): the folder's sources as one
# static library (an interface target while the folder holds no source yet).
function(velmora_biblioteca nombre)
  file(GLOB fuentes CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(fuentes)
    add_library(${nombre} STATIC ${fuentes})
    target_link_libraries(${nombre} PUBLIC ${ARGN})
  else()
    add_library(${nombre} INTERFACE)
    target_link_libraries(${nombre} INTERFACE ${ARGN})
  endif()
endfunction()
