# The win32 backend's own calls on a real window under Wine; the sdl backend has its own checks.
if(O3D_BACKEND STREQUAL "win32")
  o3d_gl_test(win32_seam_test ${CMAKE_CURRENT_LIST_DIR}/win32_seam_test.cpp)
endif()
