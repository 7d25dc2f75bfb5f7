# The model viewer example as a user meets it, natively and as the Windows build under Wine.
if(TARGET model_viewer)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME model_viewer_wine
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/model_viewer_e2e.sh
                     $<TARGET_FILE:model_viewer> ${O3D_WITH_WINE})
    # A larger screen, so the framed 800 x 600 window fits whole.
    set_tests_properties(model_viewer_wine PROPERTIES LABELS "e2e;wine" TIMEOUT 240
                         RESOURCE_LOCK wine ENVIRONMENT O3D_XVFB_SCREEN=1024x768x24)
  else()
    add_test(NAME model_viewer_e2e
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/model_viewer_e2e.sh
                     $<TARGET_FILE:model_viewer>)
    set_tests_properties(model_viewer_e2e PROPERTIES LABELS e2e TIMEOUT 120)
  endif()
endif()
