# The sdl backend's input under Xvfb, driven through the X server (pointer warps, xdotool key
# presses on a French layout set with setxkbmap). Native sdl builds only: the win32 backend takes
# position and keys from the system directly.
if(O3D_BACKEND STREQUAL "sdl" AND NOT CMAKE_CROSSCOMPILING)
  find_package(X11 REQUIRED)
  o3d_gl_test(sdl_input_gl_test ${CMAKE_CURRENT_LIST_DIR}/sdl_input_gl_test.cpp)
  if(TARGET sdl_input_gl_test)
    target_link_libraries(sdl_input_gl_test PRIVATE X11::X11)
  endif()
endif()
