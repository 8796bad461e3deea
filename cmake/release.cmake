# The release of a Windows build. ZuLauncher.exe is stripped after linking; its debug
# information stays beside it in ZuLauncher.debug (found by the debug link the exe carries).
# `cmake --build --preset win32 --target package` makes ZuLauncher-<version>-win32.zip (and
# the win64 preset ZuLauncher-<version>-win64.zip, the same files built for x86_64) with
# the launcher, a commented sample ZuLauncher.ini, zuhost.exe, zulogview.exe and the vendor's
# guide (the README's part for host vendors, extracted at build time).

# Debug information for the launcher's own code, kept out of the shipped exe. The code is
# built for size: its time goes to WinINet, the disk and the system's digests, and -O3's
# inlining made the 32-bit exe about a fifth larger for nothing the benchmarks can see.
target_compile_options(zu_portable PRIVATE -g -Os)
target_compile_options(zu_win PRIVATE -g -Os)
target_compile_options(ZuLauncher PRIVATE -g -Os)
add_custom_command(TARGET ZuLauncher POST_BUILD
  COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ZuLauncher.exe ZuLauncher.debug
  COMMAND ${CMAKE_STRIP} --strip-all ZuLauncher.exe
  COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=ZuLauncher.debug ZuLauncher.exe
  WORKING_DIRECTORY $<TARGET_FILE_DIR:ZuLauncher>
  COMMENT "Stripping ZuLauncher.exe; its debug information goes to ZuLauncher.debug")

# The version resource: product name, file version, description.
set(ZU_VERSION_RESOURCE ${CMAKE_SOURCE_DIR}/res/version.rc)
set_source_files_properties(${ZU_VERSION_RESOURCE} PROPERTIES COMPILE_DEFINITIONS
  "ZU_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};ZU_VERSION_MINOR=${PROJECT_VERSION_MINOR};ZU_VERSION_PATCH=${PROJECT_VERSION_PATCH}")
target_sources(ZuLauncher PRIVATE ${ZU_VERSION_RESOURCE})

# The tools a vendor gets carry no symbols either.
foreach(tool zuhost zulogview)
  target_link_options(${tool} PRIVATE -s)
endforeach()

set(ZU_VENDOR_GUIDE ${CMAKE_BINARY_DIR}/VENDOR_GUIDE.md)
add_custom_command(OUTPUT ${ZU_VENDOR_GUIDE}
  COMMAND ${CMAKE_COMMAND} -DREADME=${CMAKE_SOURCE_DIR}/README.md -DOUTPUT=${ZU_VENDOR_GUIDE}
          -P ${CMAKE_SOURCE_DIR}/cmake/extract_vendor_guide.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/cmake/extract_vendor_guide.cmake
  COMMENT "Extracting the vendor's guide from README.md")
add_custom_target(vendor_guide ALL DEPENDS ${ZU_VENDOR_GUIDE})

install(TARGETS ZuLauncher zuhost zulogview RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/res/ZuLauncher.sample.ini DESTINATION . RENAME ZuLauncher.ini)
install(FILES ${ZU_VENDOR_GUIDE} DESTINATION .)
# For the vendor's customers' administrators: the Group Policy template and a sample .reg file.
install(FILES ${CMAKE_SOURCE_DIR}/tools/policy/ZuLauncher.admx
              ${CMAKE_SOURCE_DIR}/tools/policy/ZuLauncher-policy.sample.reg DESTINATION policy)
install(FILES ${CMAKE_SOURCE_DIR}/tools/policy/en-US/ZuLauncher.adml DESTINATION policy/en-US)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ZuLauncher)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ZuLauncher-${PROJECT_VERSION}-${ZU_WINDOWS_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(ZU_RELEASE_ZIP ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
include(CPack)

# The release test (tests/release) makes the zip from the built programs, unpacks it into a
# fresh folder and serves a request from it, so it needs nothing but a built tree.
if(TEST win_release)
  set(ZU_RELEASE_UNPACKED ${CMAKE_BINARY_DIR}/release_unpacked)
  add_test(NAME release_package
           COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(release_package PROPERTIES FIXTURES_SETUP release_zip)
  add_test(NAME release_unpack
           COMMAND ${CMAKE_COMMAND} -DZIP=${ZU_RELEASE_ZIP}
                   -DDIR=${ZU_RELEASE_UNPACKED} -DOBJDUMP=${CMAKE_OBJDUMP}
                   -P ${CMAKE_SOURCE_DIR}/tests/release/unpack_release.cmake)
  set_tests_properties(release_unpack PROPERTIES FIXTURES_SETUP release
                       FIXTURES_REQUIRED release_zip)
  set_tests_properties(win_release PROPERTIES FIXTURES_REQUIRED release ENVIRONMENT
    "ZU_SOURCE_DIR=${CMAKE_SOURCE_DIR};LC_ALL=en_US.UTF-8;ZU_RELEASE_DIR=${ZU_RELEASE_UNPACKED}")
endif()
