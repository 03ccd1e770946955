# Installs the built Tavrel into a fresh prefix, builds the consumer project
# against it and runs its host. Run as:
# cmake -DBUILD=<Tavrel build> -DWORK=<scratch dir> -DSOURCE=<consumer dir>
#       [-DTOOLCHAIN=<file>] [-DEMULATOR=<"|"-separated>] [-DSANITIZE=ON] -P
set(prefix ${WORK}/prefix)
set(consumer ${WORK}/consumer)
file(REMOVE_RECURSE ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed
                  OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(failed)
    message(FATAL_ERROR "${ARGN}\nfailed (${failed}):\n${output}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
set(configure -S ${SOURCE} -B ${consumer} -DCMAKE_BUILD_TYPE=Release)
if(TOOLCHAIN)
  # A cross build finds packages only under its root path: name the
  # package's folder.
  list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
       -DTavrel_DIR=${prefix}/lib/cmake/Tavrel)
else()
  list(APPEND configure -DCMAKE_PREFIX_PATH=${prefix})
endif()
if(SANITIZE)
  # A sanitized Tavrel needs the sanitizer runtime in the host too.
  set(flags -fsanitize=address,undefined)
  list(APPEND configure -DCMAKE_C_FLAGS=${flags}
       -DCMAKE_EXE_LINKER_FLAGS=${flags} -DCMAKE_MODULE_LINKER_FLAGS=${flags})
endif()
run(${CMAKE_COMMAND} ${configure})
run(${CMAKE_COMMAND} --build ${consumer})
string(REPLACE "|" ";" emulator "${EMULATOR}")
file(GLOB host ${consumer}/host ${consumer}/host.exe)
run(${emulator} ${host})
message(STATUS "${output}")
if(NOT output MATCHES "host reached the plug-in through Tavrel")
  message(FATAL_ERROR "unexpected output:\n${output}")
endif()
