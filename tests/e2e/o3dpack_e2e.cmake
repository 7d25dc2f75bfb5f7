# The real o3dpack program: create, list and extract round trips and every refusal.
if(TARGET o3dpack)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME o3dpack_cli
      COMMAND ${CMAKE_CURRENT_LIST_DIR}/o3dpack_cli.sh $<TARGET_FILE:o3dpack> ${O3D_WITH_WINE})
    set_tests_properties(o3dpack_cli PROPERTIES LABELS "e2e;wine" RESOURCE_LOCK wine)
  else()
    add_test(NAME o3dpack_cli
      COMMAND ${CMAKE_CURRENT_LIST_DIR}/o3dpack_cli.sh $<TARGET_FILE:o3dpack>)
    set_tests_properties(o3dpack_cli PROPERTIES LABELS e2e)
  endif()
endif()
