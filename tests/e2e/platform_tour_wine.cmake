# The Windows build of platform_tour under Wine, on its own virtual display.
if(CMAKE_CROSSCOMPILING AND O3D_BACKEND STREQUAL "win32" AND TARGET platform_tour)
  add_test(NAME platform_tour_wine
           COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/platform_tour_wine.sh
                   $<TARGET_FILE:platform_tour>)
  set_tests_properties(platform_tour_wine PROPERTIES LABELS "e2e;wine" TIMEOUT 300 RESOURCE_LOCK wine)
endif()
