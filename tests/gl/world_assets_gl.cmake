# Terrain and skybox in a real context: pixels under known cameras, feedback-mode geometry, the
# list and direct paths, the terrain's tiles against its single list, and the state each drawing
# hands back.
o3d_gl_test(world_assets_gl_tests
  ${CMAKE_CURRENT_LIST_DIR}/skybox_gl_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/terrain_gl_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/terrain_tiles_gl_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/terrain_pending_gl_test.cpp)
