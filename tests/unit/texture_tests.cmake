# Textures, images and backgrounds without a display: the 24-bit BMP reader and its refusals, the
# image record's rules, background offsets.
o3d_unit_test(texture_unit_tests
  ${CMAKE_CURRENT_LIST_DIR}/texture_reader_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_record_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/background_test.cpp)
# The sdl backend's bitmap reader: hostile headers read in child processes (fork), peak memory
# measured.
if(O3D_BACKEND STREQUAL "sdl")
  o3d_unit_test(bitmap_peak_sdl_tests ${CMAKE_CURRENT_LIST_DIR}/bitmap_peak_sdl_test.cpp)
endif()
