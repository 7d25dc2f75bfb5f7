o3d_unit_test(video_unit_tests
  ${CMAKE_CURRENT_LIST_DIR}/../support/fake_platform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/video_rules_test.cpp)
