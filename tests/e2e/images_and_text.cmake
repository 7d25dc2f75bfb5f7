# The images_and_text example as a user meets it, natively and as the Windows build under Wine.
if(TARGET images_and_text)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME images_and_text_wine
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/images_and_text_e2e.sh
                     $<TARGET_FILE:images_and_text> ${O3D_WITH_WINE})
    # A larger screen, so the framed 800 x 600 window fits whole.
    set_tests_properties(images_and_text_wine PROPERTIES LABELS "e2e;wine" TIMEOUT 180
                         RESOURCE_LOCK wine ENVIRONMENT O3D_XVFB_SCREEN=1024x768x24)
  else()
    add_test(NAME images_and_text_e2e
             COMMAND ${O3D_WITH_XVFB} ${CMAKE_CURRENT_LIST_DIR}/images_and_text_e2e.sh
                     $<TARGET_FILE:images_and_text>)
    set_tests_properties(images_and_text_e2e PROPERTIES LABELS e2e TIMEOUT 120)
  endif()
endif()
