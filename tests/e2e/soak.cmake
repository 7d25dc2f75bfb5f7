# A two-minute play session of the real game (scripts/soak.sh): memory and open files must level
# off, the game must keep answering, end with exit code 0 and leave no files. Native build only;
# its judgement of growth is checked on made-up sessions first.
if(TARGET game AND TARGET game_data AND NOT CMAKE_CROSSCOMPILING)
  add_test(NAME soak_trend
           COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/unit/soak_trend_test.py
                   ${PROJECT_SOURCE_DIR}/scripts)
  set_tests_properties(soak_trend PROPERTIES LABELS unit TIMEOUT 60)
  # The script starts its own Xvfb. Generous timeout: the session ends at a round's step after
  # its two minutes, and a loaded machine draws slowly.
  add_test(NAME soak_e2e COMMAND ${PROJECT_SOURCE_DIR}/scripts/soak.sh 2 $<TARGET_FILE:game>
                                 ${O3D_GAME_DATA_DIR})
  set_tests_properties(soak_e2e PROPERTIES LABELS e2e TIMEOUT 900)
endif()
