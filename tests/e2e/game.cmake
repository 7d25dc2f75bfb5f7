# The game as a player meets it on the default data the build makes: natively under Xvfb, and the
# Windows build under Wine on a screen large enough for its framed window.
if(TARGET game AND TARGET game_data)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME game_wine
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/game_e2e.sh $<TARGET_FILE:game>
                     ${O3D_GAME_DATA_DIR} ${O3D_WITH_WINE})
    set_tests_properties(game_wine PROPERTIES LABELS "e2e;wine" TIMEOUT 400 RESOURCE_LOCK wine
                         ENVIRONMENT O3D_XVFB_SCREEN=1024x768x24)
  else()
    add_test(NAME game_e2e
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/game_e2e.sh $<TARGET_FILE:game>
                     ${O3D_GAME_DATA_DIR})
    set_tests_properties(game_e2e PROPERTIES LABELS e2e TIMEOUT 300)
  endif()
endif()
