# Checks that a built Tavrel exports exactly the fourteen functions, by their
# plain names, and that a Windows build imports system DLLs only.
# Run as: cmake -DLIBRARY=... -DFORMAT=elf|pe -DTOOL=nm|objdump -P
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
  # The export name table: lines "\t[   n] Name".
  string(REPLACE ";" "," listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(names "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^\t\\[ *[0-9]+\\] ([^ ]+)$")
      list(APPEND names ${CMAKE_MATCH_1})
    elseif(line MATCHES "DLL Name: (.+)$")
      string(TOLOWER "${CMAKE_MATCH_1}" imported)
      if(NOT imported MATCHES "^(kernel32|msvcrt|ntdll|user32|advapi32)\\.dll$")
        message(FATAL_ERROR "${LIBRARY} imports ${CMAKE_MATCH_1}")
      endif()
    endif()
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
