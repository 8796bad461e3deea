# Unpacks the release zip into a fresh DIR and checks what it holds: exactly the launcher, the
# sample INI, the two tools, the vendor's guide and the administrator's policy templates; the
# launcher stripped, with its debug link.
#   cmake -DZIP=... -DDIR=... -DOBJDUMP=... -P unpack_release.cmake
if(NOT EXISTS ${ZIP})
  message(FATAL_ERROR "${ZIP} is missing: build it with `cmake --build --preset <win32|win64> --target package`")
endif()
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${DIR}
                COMMAND_ERROR_IS_FATAL ANY)
file(GLOB_RECURSE unpacked RELATIVE ${DIR} ${DIR}/*)
list(SORT unpacked)
set(expected VENDOR_GUIDE.md ZuLauncher.exe ZuLauncher.ini policy/ZuLauncher-policy.sample.reg
             policy/ZuLauncher.admx policy/en-US/ZuLauncher.adml zuhost.exe zulogview.exe)
if(NOT unpacked STREQUAL expected)
  message(FATAL_ERROR "the zip holds: ${unpacked}\nexpected: ${expected}")
endif()

execute_process(COMMAND ${OBJDUMP} -h ${DIR}/ZuLauncher.exe OUTPUT_VARIABLE sections
                COMMAND_ERROR_IS_FATAL ANY)
if(sections MATCHES "\\.debug_" OR NOT sections MATCHES "\\.gnu_debuglink")
  message(FATAL_ERROR "ZuLauncher.exe is not stripped with a debug link:\n${sections}")
endif()

file(READ ${DIR}/VENDOR_GUIDE.md guide)
foreach(part "### Starting the launcher" "### Result codes" "### The version file" "### Tools")
  string(FIND "${guide}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the vendor's guide lacks \"${part}\"")
  endif()
endforeach()
if(guide MATCHES "\n## Layout")
  message(FATAL_ERROR "the vendor's guide runs on into the README's next part")
endif()
message(STATUS "unpacked ${ZIP}: ${unpacked}")
