# Sound without a device: the WAV readers and loaders, the playing list, the conversions and the
# music record over the fake device of tests/support; on sdl, the mixer's arithmetic.
o3d_unit_test(sound_unit_tests
  ${CMAKE_CURRENT_LIST_DIR}/../support/fake_audio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wav_test.cpp)
