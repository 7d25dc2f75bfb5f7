# Textures, images and backgrounds in a real context: loading with texels read back, drawing with
# pixels read back, and the GL state each operation leaves.
o3d_gl_test(texture_gl_tests
  ${CMAKE_CURRENT_LIST_DIR}/texture_load_gl_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_draw_gl_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/background_gl_test.cpp)
