# The rendering core's fixed-function state, meshes and primitives on a real context: the GL state
# each operation leaves, primitive counts in feedback mode, pixels of both mesh paths.
o3d_gl_test(render_gl_tests
  ${CMAKE_CURRENT_LIST_DIR}/render_state_gl_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mesh_gl_test.cpp)
if(CMAKE_CROSSCOMPILING AND TEST render_gl_tests)
  set_tests_properties(render_gl_tests PROPERTIES ENVIRONMENT O3D_XVFB_SCREEN=1024x768x24)
endif()
