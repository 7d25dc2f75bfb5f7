# The world example as a user meets it: natively under Xvfb, and the Windows build under Wine on
# a screen large enough for its framed window.
if(TARGET world)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME world_wine
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/world_e2e.sh $<TARGET_FILE:world>
                     ${O3D_WITH_WINE})
    set_tests_properties(world_wine PROPERTIES LABELS "e2e;wine" TIMEOUT 300 RESOURCE_LOCK wine
                         ENVIRONMENT O3D_XVFB_SCREEN=1024x768x24)
  else()
    add_test(NAME world_e2e
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/world_e2e.sh $<TARGET_FILE:world>)
    set_tests_properties(world_e2e PROPERTIES LABELS e2e TIMEOUT 180)
  endif()
endif()
