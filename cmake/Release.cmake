# The zip a panel author downloads: the eleven win32 modules, the guide to
# their gauges and the gallery. Made by the win32 build, with the native
# panelhost drawing the gallery and writing the guide.
set(PANELHOST_EXECUTABLE ${CMAKE_SOURCE_DIR}/build/native/bin/panelhost CACHE FILEPATH "native panelhost, for the guide and gallery")

set(guide ${CMAKE_BINARY_DIR}/release/GAUGES.txt)
set(gallery ${CMAKE_BINARY_DIR}/release/gallery.png)
set(module_files "")
foreach(module IN LISTS BUILT_MODULES)
  list(APPEND module_files ${CMAKE_BINARY_DIR}/gauges/${module}.gau)
endforeach()
add_custom_command(
  OUTPUT ${guide} ${gallery}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/release
  COMMAND ${PANELHOST_EXECUTABLE} inspect --guide ${module_files} > ${guide}
  COMMAND ${PANELHOST_EXECUTABLE} render --gallery --live 30 --gauges ${CMAKE_SOURCE_DIR}/build/native/gauges --out ${gallery}
  DEPENDS gauge_modules
  COMMENT "Writing the gauge guide and drawing the gallery")
add_custom_target(release_docs ALL DEPENDS ${guide} ${gallery})

install(FILES ${module_files} DESTINATION gauges)
install(FILES ${guide} ${gallery} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ovk-piston-gauges)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
