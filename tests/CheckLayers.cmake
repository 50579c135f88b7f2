# Checks that the sources include headers only of their own library and of
# the libraries it stands on (the "On" column of the README's layout), so
# that no include runs against the build graph, and that the database
# layer's internal headers are included by the layer's own files only.
#   cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)
set(below_core "")
set(below_errors core)
set(below_settings core errors)
set(below_texts core errors settings)
set(below_database core)
set(below_presetdb core errors settings database)
set(below_jetimport core errors settings database)
set(below_app core errors settings texts database presetdb jetimport)

set(faults "")
foreach(library core errors settings texts database presetdb jetimport app)
  set(allowed ${library} ${below_${library}})
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
      ${SOURCE_DIR}/${library}/*.h ${SOURCE_DIR}/${library}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include \"[^\"]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
      string(REGEX REPLACE "/.*" "" folder "${header}")
      if(folder STREQUAL "internal" AND library STREQUAL "database")
        continue()
      endif()
      if(NOT folder IN_LIST allowed OR header MATCHES "^database/internal/")
        list(APPEND faults "${file} includes ${header}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "includes against the layers:\n${text}")
endif()
