# MD2 models, billboards and shadows in a real context: pixels under known views, feedback-mode
# geometry, blending and depth, and the state each drawing hands back.
o3d_gl_test(model_gl_tests
  ${CMAKE_CURRENT_LIST_DIR}/md2_gl_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/billboard_gl_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shadow_gl_test.cpp)
