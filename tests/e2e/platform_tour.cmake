# The platform tour example as a user meets it: under its own Xvfb, driven by real X input
# (xdotool) and by a close-button press (x11_close). Native builds only; the Windows build of the
# example has its own run under Wine.
if(NOT CMAKE_CROSSCOMPILING)
  if(NOT TARGET platform_tour)
    message(STATUS "platform_tour_e2e: not registered, the examples are not built")
  else()
    find_package(X11 REQUIRED)
    add_executable(x11_close ${PROJECT_SOURCE_DIR}/tests/support/x11_close.cpp)
    target_link_libraries(x11_close PRIVATE X11::X11 o3d_warnings)
    add_test(NAME platform_tour_e2e
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/platform_tour_e2e.sh
                     $<TARGET_FILE:platform_tour> $<TARGET_FILE:x11_close>)
    set_tests_properties(platform_tour_e2e PROPERTIES LABELS e2e TIMEOUT 180)
    add_test(NAME platform_tour_without_display
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/no_display.sh $<TARGET_FILE:platform_tour>
                     "platform_tour: no window")
    set_tests_properties(platform_tour_without_display PROPERTIES LABELS e2e TIMEOUT 60)
  endif()
endif()
