# The release: a zip holding one portable folder with the 32-bit game, the resizer and the
# help file. The programs write their pictures beside themselves, so the folder is meant to be
# unpacked somewhere the user can write to, not installed. Built only by the 32-bit Windows
# build, as part of its default target, and checked by tests/checks/check_build.py.
if(NOT (WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4))
  return()
endif()

set(SNOWQUILL_DIST_DIR ${PROJECT_SOURCE_DIR}/dist CACHE PATH "Folder that receives the release zip")
set(package_name snowquill-${PROJECT_VERSION}-win32)
set(package_zip ${SNOWQUILL_DIST_DIR}/${package_name}.zip)
set(package_folder snowquill-${PROJECT_VERSION})
set(package_stage ${CMAKE_BINARY_DIR}/package)
set(package_help $<TARGET_FILE_DIR:snowquill>/snowquill-help.chm)

# The folder is staged afresh each time, so that nothing left from an earlier build ends up
# in the zip; the zip is written beside the stage and then moved into place whole.
add_custom_command(
  OUTPUT ${package_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${package_stage}/${package_folder} ${SNOWQUILL_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:snowquill> $<TARGET_FILE:pixelhem> ${package_help}
          ${package_stage}/${package_folder}
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_stage}
          ${CMAKE_COMMAND} -E tar cf ${package_name}.zip --format=zip ${package_folder}
  COMMAND ${CMAKE_COMMAND} -E rename ${package_stage}/${package_name}.zip ${package_zip}
  DEPENDS snowquill pixelhem snowquill_help $<TARGET_FILE:snowquill> $<TARGET_FILE:pixelhem> ${package_help}
  COMMENT "Packing ${package_zip}"
  VERBATIM)
add_custom_target(package_zip ALL DEPENDS ${package_zip})

# The zip, the programs' resources, the assets they come from and the help file.
add_test(NAME build_checks
         COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/checks/check_build.py ${PROJECT_SOURCE_DIR}
                 $<TARGET_FILE:snowquill> $<TARGET_FILE:pixelhem> ${package_zip} ${PROJECT_VERSION})
set_tests_properties(build_checks PROPERTIES LABELS package)
