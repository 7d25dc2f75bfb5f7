# tellurix's unit tests: its generator core in-process (settings, noise, pinned maps, writer).
if(TARGET tellurix_core)
  o3d_unit_test(tellurix_unit_tests
    ${CMAKE_CURRENT_LIST_DIR}/tellurix_settings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tellurix_generator_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tellurix_bmp_test.cpp)
  target_link_libraries(tellurix_unit_tests PRIVATE tellurix_core)
endif()
