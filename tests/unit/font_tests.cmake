# Fonts without a display: the metrics-file reader, measuring, and the system-font rules over a
# fake platform font.
o3d_unit_test(font_unit_tests
  ${CMAKE_CURRENT_LIST_DIR}/../support/fake_platform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font_metrics_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_font_test.cpp)
