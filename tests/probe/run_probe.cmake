# Runs the probe and checks its exit status and its output (standard output,
# then standard error). With --json among the arguments, standard output must
# be one JSON document, whatever the plug-ins print. Patterns must not hold an
# unbalanced "[", which would merge them in CMake's list. Run as:
# cmake -DPROBE=<command, "|"-separated> -DARGS=<"|"-separated>
#       -DSTATUS=<expected exit status> -DEXPECT=<file of regexes, one a line>
#       -P run_probe.cmake
cmake_minimum_required(VERSION 3.21)
string(REPLACE "|" ";" command "${PROBE}")
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND ${command} ${arguments}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors
                RESULT_VARIABLE status)
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\n${output}${errors}")
endif()
if("--json" IN_LIST arguments)
  string(JSON type ERROR_VARIABLE invalid TYPE "${output}")
  if(invalid OR NOT type STREQUAL "OBJECT")
    message(FATAL_ERROR "standard output is no JSON object (${invalid}):\n${output}")
  endif()
endif()
string(APPEND output "${errors}")
file(STRINGS ${EXPECT} patterns)
foreach(pattern IN LISTS patterns)
  if(NOT output MATCHES "${pattern}")
    message(FATAL_ERROR "output lacks /${pattern}/:\n${output}")
  endif()
endforeach()
