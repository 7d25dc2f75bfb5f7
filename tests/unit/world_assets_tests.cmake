# Terrain, OBJ models and the skybox without a display: the OBJ line and corner parsing and whole
# files, the terrain's build from height bytes, its queries and its drawing tiles.
o3d_unit_test(world_assets_unit_tests
  ${CMAKE_CURRENT_LIST_DIR}/obj_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/terrain_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/terrain_tiles_test.cpp)
