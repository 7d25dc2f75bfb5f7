# Copies the native build's game.dat and intro.avi into a cross build's data folder; without them
# it says how to make them and leaves the folder alone (the build goes on: only running the game
# needs the data).
foreach(name game.dat intro.avi)
  if(NOT EXISTS ${FROM}/${name})
    message(STATUS "No ${FROM}/${name}: build the native tree first (cmake --build build) to make the data")
    return()
  endif()
endforeach()
file(MAKE_DIRECTORY ${TO})
foreach(name game.dat intro.avi)
  execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${FROM}/${name} ${TO}/${name})
endforeach()
