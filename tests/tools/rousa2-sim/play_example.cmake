# Plays one example and compares what the simulator printed with the output
# kept beside the tests, so that a change in what a step does or shows is seen.
# Arguments: SIM, SCENARIO, EXPECTED, ACTUAL (where the output is left).
execute_process(COMMAND ${SIM} ${SCENARIO} OUTPUT_FILE ${ACTUAL} ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(READ ${ACTUAL} output)
  message(FATAL_ERROR "${SCENARIO} ended with ${status}\n${output}${errors}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${ACTUAL} RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u ${EXPECTED} ${ACTUAL} OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "${SCENARIO} printed other steps than ${EXPECTED}:\n${diff}")
endif()
