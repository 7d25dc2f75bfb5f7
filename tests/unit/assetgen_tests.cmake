# The default data (native build only, where assetgen is): made twice in-process, compared with
# the built game.dat, and checked asset by asset; sounds go through the engine's WAV reader over
# the fake device.
if(TARGET assetgen_core AND TARGET game_data)
  o3d_unit_test(assetgen_unit_tests
    ${CMAKE_CURRENT_LIST_DIR}/../support/fake_audio.cpp
    ${CMAKE_CURRENT_LIST_DIR}/assetgen_data_test.cpp)
  target_link_libraries(assetgen_unit_tests PRIVATE assetgen_core)
  target_compile_definitions(assetgen_unit_tests PRIVATE
    ASSETGEN_TEST_FONT="${ASSETGEN_FONT}"
    ASSETGEN_TEST_PACK="${O3D_GAME_DATA_DIR}/game.dat")
  add_dependencies(assetgen_unit_tests game_data)
endif()
