# The engine called from a global constructor, before main: a plain program whose exit status is
# the result, built like a user's program (the library linked after the program's own objects).
add_executable(global_constructor_test ${CMAKE_CURRENT_LIST_DIR}/global_constructor_main.cpp)
target_link_libraries(global_constructor_test PRIVATE ostrel3d o3d_warnings)
if(CMAKE_CROSSCOMPILING)
  add_test(NAME global_constructor_test
           COMMAND ${O3D_WITH_WINE} $<TARGET_FILE:global_constructor_test>)
  set_tests_properties(global_constructor_test PROPERTIES LABELS "unit;wine" RESOURCE_LOCK wine)
else()
  add_test(NAME global_constructor_test COMMAND global_constructor_test)
  set_tests_properties(global_constructor_test PROPERTIES LABELS unit)
endif()
