# The foundation's drawing on a real context: one program per module, each with its own window.
o3d_gl_test(draw2d_gl_test ${CMAKE_CURRENT_LIST_DIR}/draw2d_gl_test.cpp)
o3d_gl_test(view_gl_test ${CMAKE_CURRENT_LIST_DIR}/view_gl_test.cpp)
o3d_gl_test(fade_gl_test ${CMAKE_CURRENT_LIST_DIR}/fade_gl_test.cpp)
o3d_gl_test(window_gl_test ${CMAKE_CURRENT_LIST_DIR}/window_gl_test.cpp)

# Under Wine the window gets a frame, which must fit on the screen for the whole 800 x 600 client
# area to exist. The window test keeps the 800 x 600 screen: its one mode is what full screen asks.
if(CMAKE_CROSSCOMPILING AND TEST draw2d_gl_test)
  set_tests_properties(draw2d_gl_test view_gl_test fade_gl_test
                       PROPERTIES ENVIRONMENT O3D_XVFB_SCREEN=1024x768x24)
endif()
