# A program of its own using the engine the two ways the README shows (add_subdirectory from
# outside the tree, find_package after installing this build), the header as C, and the format
# checks of the formatted text operations. Only compiles, so the Windows build runs it without Wine.
# The toolchain file may have been given relative to the source folder; the script runs elsewhere.
if(CMAKE_TOOLCHAIN_FILE)
  get_filename_component(O3D_CONSUMER_TOOLCHAIN ${CMAKE_TOOLCHAIN_FILE} ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
endif()
add_test(NAME consumer_project
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/consumer_project.sh ${PROJECT_SOURCE_DIR}
                 ${PROJECT_BINARY_DIR} ${CMAKE_COMMAND} ${CMAKE_C_COMPILER} ${O3D_CONSUMER_TOOLCHAIN})
set_tests_properties(consumer_project PROPERTIES LABELS e2e)
