# Lays out the plug-in folders the probe tests scan, from the fixture
# and example plug-ins. Run as: cmake -DBIN=<test bin dir> -DSUFFIX=.so|.dll
# -DFAILING=<fixture that ends a scan> -DEXAMPLES=<built examples>
# -P make_scenarios.cmake
function(lay_out folder)
  set(dir ${BIN}/${folder})
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir})
  foreach(entry IN LISTS ARGN)
    string(REPLACE "=" ";" parts ${entry})
    list(GET parts 0 name)
    list(GET parts 1 fixture)
    if(fixture STREQUAL "text")
      file(WRITE ${dir}/${name}${SUFFIX} "not a library\n")
    elseif(fixture STREQUAL "fifo")
      execute_process(COMMAND mkfifo ${dir}/${name}${SUFFIX}
                      COMMAND_ERROR_IS_FATAL ANY)
    elseif(fixture STREQUAL "truncated")
      # The start of a real plug-in: its headers promise more than the file
      # holds, and the loader reads past its end.
      file(COPY_FILE ${BIN}/fixtures/alpha${SUFFIX} ${dir}/${name}${SUFFIX})
      execute_process(COMMAND truncate -s 1000 ${dir}/${name}${SUFFIX}
                      COMMAND_ERROR_IS_FATAL ANY)
    elseif(fixture STREQUAL "directory")
      file(MAKE_DIRECTORY ${dir}/${name}${SUFFIX})
    elseif(fixture MATCHES "^example:(.*)")
      file(COPY_FILE ${EXAMPLES}/${CMAKE_MATCH_1}${SUFFIX} ${dir}/${name}${SUFFIX})
    else()
      file(COPY_FILE ${BIN}/fixtures/${fixture}${SUFFIX} ${dir}/${name}${SUFFIX})
    endif()
  endforeach()
endfunction()

lay_out(probe-mixed 1_alpha=alpha 2_beta=beta 3_headless=headless
        4_notes=text 5_picky=picky 6_extra=directory 7_delta=delta
        8_gamma=gamma 9_failing=${FAILING})
lay_out(probe-lint 1_alpha=alpha 2_beta=beta 3_catchall=catchall
        4_delta=delta 5_gamma=gamma 6_fullkeys=fullkeys)
lay_out(probe-examples news=example:news podcast=example:podcast)
lay_out(probe-truncated 1_alpha=alpha 2_truncated=truncated 3_beta=beta)
lay_out(probe-hanging 1_alpha=alpha 2_hanger=hanger)
lay_out(probe-empty)
if(NOT SUFFIX STREQUAL ".dll")
  lay_out(probe-fifo 1_alpha=alpha 2_fifo=fifo)
endif()
file(WRITE ${BIN}/probe-examples/news.conf "edition=weekend\n")
