# Runs check_layers on the planted tree and requires exactly the expected report.
execute_process(
    COMMAND ${CHECK_LAYERS} ${PLANTED} ${LAYERS} src
    OUTPUT_VARIABLE output
    RESULT_VARIABLE result)
file(READ ${EXPECTED} expected)
if(NOT result EQUAL 1)
    message(FATAL_ERROR "check_layers exited ${result}, expected 1:\n${output}")
endif()
if(NOT output STREQUAL expected)
    message(FATAL_ERROR "check_layers reported:\n${output}\nexpected:\n${expected}")
endif()
