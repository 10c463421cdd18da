# One gauge module MODULE.gau from MODULE/*.cpp and MODULE/MODULE.rc.
#
# The resource script is the single source of a module's resources. The win32
# file links them as real Win32 resources; the native file carries the same
# compiled resources (.res) in its section ".gauge_resources".
find_program(WINDRES NAMES i686-w64-mingw32-windres REQUIRED)

function(add_gauge_module module)
  set(art_dir ${CMAKE_BINARY_DIR}/art/${module})
  set(art_stamp ${art_dir}/.stamp)
  add_custom_command(
    OUTPUT ${art_stamp}
    COMMAND ${ARTGEN_EXECUTABLE} ${module} ${art_dir}
    COMMAND ${CMAKE_COMMAND} -E touch ${art_stamp}
    DEPENDS ${ARTGEN_TARGET}
    COMMENT "Drawing the bitmaps of ${module}")

  set(rc ${CMAKE_SOURCE_DIR}/${module}/${module}.rc)
  set(rc_includes -I ${art_dir} -I ${CMAKE_SOURCE_DIR}/frame -I ${CMAKE_SOURCE_DIR}/${module})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${module}/*.cpp)
  add_library(${module} MODULE ${sources})
  target_link_libraries(${module} PRIVATE gauge_frame)
  set_target_properties(${module} PROPERTIES PREFIX "" SUFFIX ".gau"
                                             CXX_VISIBILITY_PRESET hidden
                                             LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/gauges
                                             RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/gauges)
  target_compile_options(${module} PRIVATE ${GAUGE_COMPILE_OPTIONS})

  if(CMAKE_CROSSCOMPILING)
    set(res_obj ${CMAKE_CURRENT_BINARY_DIR}/${module}_res.o)
    add_custom_command(
      OUTPUT ${res_obj}
      COMMAND ${WINDRES} ${rc_includes} -O coff -i ${rc} -o ${res_obj}
      DEPENDS ${rc} ${art_stamp}
      COMMENT "Compiling the resources of ${module}")
    target_sources(${module} PRIVATE ${res_obj})
    target_link_options(${module} PRIVATE -static -static-libgcc -static-libstdc++ -s)
  else()
    set(res ${CMAKE_CURRENT_BINARY_DIR}/${module}.res)
    set(embed ${CMAKE_CURRENT_BINARY_DIR}/${module}_res.c)
    add_custom_command(
      OUTPUT ${res}
      COMMAND ${WINDRES} ${rc_includes} -O res -i ${rc} -o ${res}
      DEPENDS ${rc} ${art_stamp}
      COMMENT "Compiling the resources of ${module}")
    file(WRITE ${embed} "__asm__(\".pushsection .gauge_resources,\\\"a\\\"\\n.incbin \\\"${res}\\\"\\n.popsection\");\n")
    set_source_files_properties(${embed} PROPERTIES OBJECT_DEPENDS ${res})
    target_sources(${module} PRIVATE ${embed})
    target_link_options(${module} PRIVATE -Wl,--no-undefined)
  endif()
  add_dependencies(gauge_modules ${module})
endfunction()

add_custom_target(gauge_modules)
