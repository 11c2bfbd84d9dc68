# Runs one scenario through veltrane-sim and compares the outcome with its expected file.
#   cmake -DSIM=path/to/veltrane-sim -DSCENARIO=x.scn -DEXPECTED=x.expected [-DUPDATE=ON] -P RunScenario.cmake
# The outcome is the transcript, then each line the runner wrote to standard error behind "! ",
# then "[exit status N]" when the status is not 0. With UPDATE on, the expected file is rewritten
# instead, for review like any other change.

foreach(required SIM SCENARIO EXPECTED)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "RunScenario.cmake needs -D${required}=...")
  endif()
endforeach()

get_filename_component(scenario_dir ${SCENARIO} DIRECTORY)
execute_process(
  COMMAND ${SIM} ${SCENARIO}
  WORKING_DIRECTORY ${scenario_dir}
  OUTPUT_VARIABLE outcome
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)

if(NOT errors STREQUAL "")
  string(REGEX REPLACE "\n$" "" errors "${errors}")
  string(REPLACE "\n" "\n! " errors "${errors}")
  string(APPEND outcome "! ${errors}\n")
endif()
if(NOT status STREQUAL "0")
  string(APPEND outcome "[exit status ${status}]\n")
endif()

if(UPDATE)
  file(WRITE ${EXPECTED} "${outcome}")
  message(STATUS "wrote ${EXPECTED}")
  return()
endif()

if(NOT EXISTS ${EXPECTED})
  message(FATAL_ERROR "${EXPECTED} does not exist; scripts/update-goldens writes it")
endif()
file(READ ${EXPECTED} expected)
if(NOT outcome STREQUAL expected)
  get_filename_component(name ${SCENARIO} NAME_WE)
  set(actual_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)
  file(WRITE ${actual_file} "${outcome}")
  execute_process(COMMAND diff -u --label expected --label actual ${EXPECTED} ${actual_file})
  message(FATAL_ERROR "${SCENARIO}: the transcript differs from ${EXPECTED} (above: - expected, + actual)")
endif()
