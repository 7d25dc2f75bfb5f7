# Staging in a real context: pictures, backgrounds, fonts and skybox faces from packs the tests
# write, against their file loaders on the same bytes.
o3d_gl_test(staging_gl_tests
  ${CMAKE_CURRENT_LIST_DIR}/staging_gl_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/unit/pack_fixture.cpp)
target_include_directories(staging_gl_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/unit)
