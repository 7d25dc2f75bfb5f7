# Films in a real window: the operations on every backend, and on sdl, where the picture is drawn
# through OpenGL, the frames read back from the window. Under Wine the film's sound goes to ALSA's
# null device, so DirectShow builds its audio renderer as it would on a machine with sound.
o3d_gl_test(video_gl_test ${CMAKE_CURRENT_LIST_DIR}/video_gl_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/window_input_${O3D_BACKEND}.cpp)
if(TEST video_gl_test)
  set_tests_properties(video_gl_test PROPERTIES TIMEOUT 120)
  # Wine's DirectShow reads AVI through GStreamer, whose decodebin now and then loses the
  # demuxer's error on a damaged AVI; RenderFile then never returns. Windows has its own splitter,
  # and the sdl build runs those files through its bounded wait, so only Wine leaves them out.
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(video_gl_test PROPERTIES ENVIRONMENT
                         "O3D_WINE_NULL_AUDIO=1;GTEST_FILTER=-VideoPlayback.DamagedAviFailsCleanly")
  endif()
endif()
if(O3D_BACKEND STREQUAL "sdl")
  o3d_gl_test(video_frames_gl_test ${CMAKE_CURRENT_LIST_DIR}/video_frames_gl_test.cpp
              ${CMAKE_CURRENT_LIST_DIR}/window_input_sdl.cpp)
endif()
