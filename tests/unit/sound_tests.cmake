# Sound without a device: the WAV readers and loaders, the playing list, the conversions and the
# music record over the fake device of tests/support; on sdl, the mixer's arithmetic.
o3d_unit_test(sound_unit_tests
  ${CMAKE_CURRENT_LIST_DIR}/../support/fake_audio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wav_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_test.cpp)
if(O3D_BACKEND STREQUAL "sdl")
  o3d_unit_test(mixer_unit_tests ${CMAKE_CURRENT_LIST_DIR}/mixer_test.cpp)
  # The real device with SDL's "disk" driver, which needs no sound card.
  o3d_unit_test(sound_device_sdl_tests ${CMAKE_CURRENT_LIST_DIR}/sound_device_sdl_test.cpp)
endif()
if(O3D_BACKEND STREQUAL "win32" AND CMAKE_CROSSCOMPILING)
  # DirectSound under Wine, with ALSA's null device as the sound card.
  o3d_unit_test(sound_device_win32_tests ${CMAKE_CURRENT_LIST_DIR}/sound_device_win32_test.cpp)
  set_tests_properties(sound_device_win32_tests PROPERTIES ENVIRONMENT O3D_WINE_NULL_AUDIO=1)
endif()
