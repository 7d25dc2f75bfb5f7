# MD2 models, billboards and shadows without a display: the MD2 reader and its refusals, the
# animation table, ranges and steps, the pose cache over a scripted clock; the billboard and
# shadow records and tables.
o3d_unit_test(model_unit_tests
  ${CMAKE_CURRENT_LIST_DIR}/../support/fake_platform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/md2_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/billboard_shadow_test.cpp)
