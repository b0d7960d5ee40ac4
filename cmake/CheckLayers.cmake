# cmake -DSOURCE_DIR=<project> -P CheckLayers.cmake
# Fails when a file of a lower layer includes a header of a layer above it,
# or when the Qt-free core includes Qt.
cmake_minimum_required(VERSION 3.25)

set(allowed_platform platform)
set(allowed_sevenzip platform sevenzip)
set(allowed_lang platform lang)
set(allowed_extract platform sevenzip lang extract)

set(project_folders platform sevenzip lang extract app dialogs cli tests tools bench resources)
set(faults "")
foreach(layer platform sevenzip lang extract)
  file(GLOB files ${SOURCE_DIR}/${layer}/*.cpp ${SOURCE_DIR}/${layer}/*.h)
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" header "${line}")
      string(REGEX MATCH "^[^/]+" top "${header}")
      if(header MATCHES "^Q" OR top MATCHES "^Qt")
        list(APPEND faults "${file}: includes ${header}, but the core uses no Qt")
      elseif(header MATCHES "/" AND top IN_LIST project_folders AND NOT top IN_LIST allowed_${layer})
        list(APPEND faults "${file}: includes ${header}, above the ${layer} layer")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "${text}")
endif()
message(STATUS "every layer includes only itself and the layers below it")
