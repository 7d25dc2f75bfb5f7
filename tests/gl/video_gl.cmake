# Films in a real window: the operations on every backend, and on sdl, where the picture is drawn
# through OpenGL, the frames read back from the window.
o3d_gl_test(video_gl_test ${CMAKE_CURRENT_LIST_DIR}/video_gl_test.cpp)
if(TEST video_gl_test)
  set_tests_properties(video_gl_test PROPERTIES TIMEOUT 120)
endif()
if(O3D_BACKEND STREQUAL "sdl")
  o3d_gl_test(video_frames_gl_test ${CMAKE_CURRENT_LIST_DIR}/video_frames_gl_test.cpp)
endif()
