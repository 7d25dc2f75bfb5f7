# The pack reader's unit tests (fixtures written by the tests into their own temporary folders).
o3d_unit_test(pack_unit_tests
  ${CMAKE_CURRENT_LIST_DIR}/pack_fixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pack_reader_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pack_print_test.cpp)
