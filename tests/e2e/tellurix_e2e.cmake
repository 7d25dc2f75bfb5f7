# The real tellurix program: exact output, arguments, bitmap, exit codes and pinned file hashes.
# The Windows build runs the same script under Wine and must match the same hashes.
if(TARGET tellurix)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME tellurix_cli
      COMMAND ${CMAKE_CURRENT_LIST_DIR}/tellurix_cli.sh $<TARGET_FILE:tellurix> ${O3D_WITH_WINE})
    set_tests_properties(tellurix_cli PROPERTIES LABELS "e2e;wine" RESOURCE_LOCK wine)
  else()
    add_test(NAME tellurix_cli
      COMMAND ${CMAKE_CURRENT_LIST_DIR}/tellurix_cli.sh $<TARGET_FILE:tellurix>)
    set_tests_properties(tellurix_cli PROPERTIES LABELS e2e)
  endif()
endif()
