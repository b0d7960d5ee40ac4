# The Qt-free core, one static library per layer. Each links only the layers
# it may use, so the dependencies run one way:
#
#   platform <- sevenzip, platform <- lang, {platform, sevenzip, lang} <- extract
#
# and the front ends and tests link varnhold_core, which brings all four.

find_package(Threads REQUIRED)

# varnhold_layer(<name> <folder> [<layer it uses>...])
function(varnhold_layer name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  varnhold_platform_sources(sources)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${VARNHOLD_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARGN})

  # A static library links with symbols left open, so a use of a higher layer
  # would only show (or hide) in the final program. This program takes every
  # object of the layer, with nothing but the layers it may use: a symbol
  # from elsewhere fails this link.
  set(main ${CMAKE_CURRENT_BINARY_DIR}/layer_check/${name}.cpp)
  file(CONFIGURE OUTPUT ${main} CONTENT "int main() { return 0; }\n")
  add_executable(${name}_link_check ${main})
  target_link_libraries(${name}_link_check PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${name}>" ${ARGN})
endfunction()

varnhold_layer(varnhold_platform platform varnhold_resources Threads::Threads ${CMAKE_DL_LIBS})
varnhold_layer(varnhold_sevenzip sevenzip varnhold_platform)
varnhold_layer(varnhold_lang lang varnhold_platform)
varnhold_layer(varnhold_extract extract varnhold_platform varnhold_sevenzip varnhold_lang)

add_library(varnhold_core INTERFACE)
target_link_libraries(varnhold_core INTERFACE varnhold_extract)
