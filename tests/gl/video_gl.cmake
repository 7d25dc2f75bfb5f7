# Films in a real window: the operations on every backend, and on sdl, where the picture is drawn
# through OpenGL, the frames read back from the window. Under Wine the film's sound goes to ALSA's
# null device, so DirectShow builds its audio renderer as it would on a machine with sound.
o3d_gl_test(video_gl_test ${CMAKE_CURRENT_LIST_DIR}/video_gl_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/close_window_${O3D_BACKEND}.cpp)
if(TEST video_gl_test)
  set_tests_properties(video_gl_test PROPERTIES TIMEOUT 120)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(video_gl_test PROPERTIES ENVIRONMENT O3D_WINE_NULL_AUDIO=1)
  endif()
endif()
if(O3D_BACKEND STREQUAL "sdl")
  o3d_gl_test(video_frames_gl_test ${CMAKE_CURRENT_LIST_DIR}/video_frames_gl_test.cpp
              ${CMAKE_CURRENT_LIST_DIR}/close_window_sdl.cpp)
endif()
