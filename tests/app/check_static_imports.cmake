# Fails unless the DLLs PROGRAM imports statically are exactly ALLOWED (case-insensitive).
#   cmake -DOBJDUMP=... -DPROGRAM=... -DALLOWED="A.dll;B.dll" -P check_static_imports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers
                COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${headers}")
set(imported)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "DLL Name: *" "" name "${line}")
  string(TOLOWER "${name}" name)
  list(APPEND imported ${name})
endforeach()
list(SORT imported)
string(TOLOWER "${ALLOWED}" allowed)
list(SORT allowed)
if(NOT imported STREQUAL allowed)
  message(FATAL_ERROR "static imports of ${PROGRAM}: ${imported}\nexpected: ${allowed}")
endif()
message(STATUS "static imports: ${imported}")
