# Checks that a built Tavrel exports exactly the fourteen functions, by their
# plain names. Run as: cmake -DLIBRARY=... -DFORMAT=elf|pe -DTOOL=... -P
set(expected
  DeleteRSSFeed FillSheetPage GetLoginInfo GetPluginIdentifier GetRSSContent
  GetRSSFeedInfo InitializeTavrel ParseFinalURL ReFresh SetCallbackInterface
  SetLoginInfo SetRSSFeedInfo StartTavrel UninitializeTavrel)

if(FORMAT STREQUAL "elf")
  execute_process(COMMAND ${TOOL} -D --defined-only --format=posix ${LIBRARY}
                  OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
  string(REGEX MATCHALL "(^|\n)[^ \n]+ [TtWwVvUuDdBbRri]" entries "${listing}")
  set(names "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^\n?([^ ]+) .*" "\\1" name "${entry}")
    list(APPEND names ${name})
  endforeach()
else()
  execute_process(COMMAND ${TOOL} -p ${LIBRARY}
                  OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
  # The export name table: lines "\t[   n] +base[   m] xxxx Name".
  string(REGEX MATCHALL "\\[ *[0-9]+\\] \\+base\\[ *[0-9]+\\] [0-9a-f]+ [^\n]+"
         entries "${listing}")
  set(names "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE ".* ([^ ]+)$" "\\1" name "${entry}")
    list(APPEND names ${name})
  endforeach()
endif()
if(failed)
  message(FATAL_ERROR "${TOOL} failed on ${LIBRARY}")
endif()

list(SORT names)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exports of ${LIBRARY}:\n  ${names}\nexpected:\n  ${expected}")
endif()
message(STATUS "${LIBRARY} exports exactly the ${FORMAT} names expected")
