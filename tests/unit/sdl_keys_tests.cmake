# The sdl backend's translation of SDL keys into virtual-key codes (sdl builds only).
if(O3D_BACKEND STREQUAL "sdl")
  o3d_unit_test(sdl_key_unit_tests ${CMAKE_CURRENT_LIST_DIR}/sdl_keys_test.cpp)
endif()
