# Compiles SOURCE with COMPILER (a "|"-separated command) and the include path
# INCLUDE, and checks the outcome: -DEXPECT=ok for a clean compile (warnings
# are errors), -DEXPECT=<regex> for a failure whose message matches it.
# Run as: cmake -DCOMPILER=... -DINCLUDE=... -DSOURCE=... -DEXPECT=...
#               [-DFLAGS=<"|"-separated>] -P expect_compile.cmake
string(REPLACE "|" ";" compiler "${COMPILER}")
string(REPLACE "|" ";" flags "${FLAGS}")
execute_process(COMMAND ${compiler} -fsyntax-only -Werror ${flags}
                        -I${INCLUDE} ${SOURCE}
                RESULT_VARIABLE failed OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(EXPECT STREQUAL "ok")
  if(failed)
    message(FATAL_ERROR "${SOURCE} ${FLAGS} should compile:\n${output}")
  endif()
elseif(NOT failed)
  message(FATAL_ERROR "${SOURCE} ${FLAGS} compiled, but must not")
elseif(NOT output MATCHES "${EXPECT}")
  message(FATAL_ERROR "${SOURCE} ${FLAGS} failed, but not with /${EXPECT}/:\n"
                      "${output}")
endif()
