# The built game.dat and intro.avi through the engine's loaders and the video backend. The native
# build makes the data; the Windows build runs this on the copy it takes from the native build.
if(TARGET game_data)
  o3d_gl_test(game_data_gl_test ${CMAKE_CURRENT_LIST_DIR}/game_data_gl_test.cpp)
  target_compile_definitions(game_data_gl_test PRIVATE
    O3D_TEST_GAME_DAT="${O3D_GAME_DATA_DIR}/game.dat"
    O3D_TEST_INTRO_AVI="${O3D_GAME_DATA_DIR}/intro.avi")
  add_dependencies(game_data_gl_test game_data)
  if(TEST game_data_gl_test)
    set_tests_properties(game_data_gl_test PROPERTIES TIMEOUT 120)
    # A sound device without a sound card: SDL's dummy driver, or ALSA's null device under Wine.
    if(CMAKE_CROSSCOMPILING)
      set_tests_properties(game_data_gl_test PROPERTIES ENVIRONMENT O3D_WINE_NULL_AUDIO=1)
    else()
      set_tests_properties(game_data_gl_test PROPERTIES ENVIRONMENT SDL_AUDIODRIVER=dummy)
    endif()
  endif()
endif()
