# Packs the cross build (its package target) and checks that the zip holds Tessmark.exe, as a
# Windows program, and the README. Run with -DBUILD_DIR=<the cross build folder>.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target package
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "package target failed:\n${output}")
endif()
file(GLOB zips ${BUILD_DIR}/Tessmark-*-Windows.zip)
list(LENGTH zips count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one Tessmark-*-Windows.zip in ${BUILD_DIR}, found: ${zips}")
endif()

set(unpacked ${BUILD_DIR}/package-check)
file(REMOVE_RECURSE ${unpacked})
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zips} WORKING_DIRECTORY ${unpacked}
                RESULT_VARIABLE result)
file(GLOB_RECURSE packed RELATIVE ${unpacked} ${unpacked}/*)
list(SORT packed)
message(STATUS "${zips}: ${packed}")
get_filename_component(top ${zips} NAME_WLE)
set(expected "${top}/README.md;${top}/bin/Tessmark.exe")
if(NOT result EQUAL 0 OR NOT packed STREQUAL expected)
  message(FATAL_ERROR "the zip holds [${packed}], expected [${expected}]")
endif()
# A Windows program starts with the MZ header.
file(READ ${unpacked}/${top}/bin/Tessmark.exe magic LIMIT 2 HEX)
if(NOT magic STREQUAL "4d5a")
  message(FATAL_ERROR "Tessmark.exe in the zip is not a Windows program")
endif()
