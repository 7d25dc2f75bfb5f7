# The game as a player meets it, natively under Xvfb, on the default data made for the test.
if(TARGET game AND TARGET assetgen AND TARGET o3dpack AND NOT CMAKE_CROSSCOMPILING)
  add_test(NAME game_e2e
           COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/game_e2e.sh $<TARGET_FILE:game>
                   $<TARGET_FILE:assetgen> $<TARGET_FILE:o3dpack>)
  set_tests_properties(game_e2e PROPERTIES LABELS e2e TIMEOUT 300)
endif()
