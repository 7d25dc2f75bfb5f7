# The libraries the sdl backend links publicly, as imported targets. Included by
# engine/CMakeLists.txt when the engine is built and by the installed Ostrel3DConfig.cmake when a
# program finds the engine, so both name the same targets. Expects Ostrel3D_BACKEND; the win32
# backend links system libraries by name and needs nothing found.
if(Ostrel3D_BACKEND STREQUAL "sdl")
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
  find_package(OpenGL REQUIRED COMPONENTS OpenGL)
  if(NOT TARGET OpenGL::GLU)
    message(FATAL_ERROR "GLU was not found (install libglu1-mesa-dev)")
  endif()
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
  pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
  pkg_check_modules(GSTREAMER REQUIRED IMPORTED_TARGET gstreamer-1.0 gstreamer-app-1.0
                    gstreamer-video-1.0)
endif()
