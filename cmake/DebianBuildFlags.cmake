# Debian's hardening and reproducible-build flags, included by the top-level CMakeLists.txt before
# any target is made. Every native Linux build that could be shipped (not Debug, not sanitized)
# takes the preprocessor, compiler and linker flags of dpkg-buildflags (package dpkg-dev, which
# the Debian packages need anyway) with all hardening features: fortify, stack protector, relro
# and bindnow; PIE is Debian's compiler default. The tests therefore run the same kind of program
# the packages hold. Optimisation and debug information stay the build type's choice.
# The source and build folders are mapped to fixed names in everything compiled, so neither the
# programs nor their build IDs depend on where the sources were checked out or built.
option(TESSMARK_DEBIAN_FLAGS "Build with Debian's hardening flags from dpkg-buildflags" ON)
find_program(TESSMARK_DPKG_BUILDFLAGS dpkg-buildflags)
if(TESSMARK_DEBIAN_FLAGS AND TESSMARK_DPKG_BUILDFLAGS AND CMAKE_SYSTEM_NAME STREQUAL "Linux"
   AND NOT CMAKE_CROSSCOMPILING AND NOT TESSMARK_SANITIZE AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${TESSMARK_DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # dpkg-buildflags maps its own working directory; the maps below take that role.
    list(FILTER flags EXCLUDE REGEX "^-(g|O.*|ffile-prefix-map=.*)$")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${flags})
    else()
      add_compile_options(${flags})
    endif()
  endforeach()
  # The later map wins where both match, so a build folder inside the sources is "build" too.
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
endif()
