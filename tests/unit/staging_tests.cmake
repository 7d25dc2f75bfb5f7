# Asset staging without a display: the sweeps, the names, the font metrics rewrite, OBJ and MD2
# models, sounds and music over the fake sound device, and every failure path, on packs the tests
# write into their own current directory.
o3d_unit_test(staging_unit_tests
  ${CMAKE_CURRENT_LIST_DIR}/pack_fixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../support/fake_audio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/staging_test.cpp)
