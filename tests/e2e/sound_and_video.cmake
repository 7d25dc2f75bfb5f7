# The sound_and_video example as a user meets it: its own tones heard (natively through SDL's
# disk driver, under Wine with ALSA's null device), keys changing them, a film played blocking
# and then behind the panel; natively and as the Windows build under Wine.
if(TARGET sound_and_video)
  add_executable(make_film ${CMAKE_CURRENT_LIST_DIR}/make_film.cpp)
  target_include_directories(make_film PRIVATE ${O3D_TEST_SUPPORT_DIR})
  target_link_libraries(make_film PRIVATE o3d_warnings)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME sound_and_video_wine
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/sound_and_video_e2e.sh
                     $<TARGET_FILE:sound_and_video> $<TARGET_FILE:make_film> ${O3D_WITH_WINE})
    set_tests_properties(sound_and_video_wine PROPERTIES LABELS "e2e;wine" TIMEOUT 300
                         RESOURCE_LOCK wine
                         ENVIRONMENT "O3D_XVFB_SCREEN=1024x768x24;O3D_WINE_NULL_AUDIO=1")
  else()
    add_test(NAME sound_and_video_e2e
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/sound_and_video_e2e.sh
                     $<TARGET_FILE:sound_and_video> $<TARGET_FILE:make_film>)
    set_tests_properties(sound_and_video_e2e PROPERTIES LABELS e2e TIMEOUT 180)
  endif()
endif()
