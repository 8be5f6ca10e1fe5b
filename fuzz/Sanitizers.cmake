# Instrumented builds, included by the top-level CMakeLists.txt before any target is made so the
# flags reach every target: the converter, its tests and the fuzz targets alike.
#   TESSMARK_SANITIZE   AddressSanitizer (with its leak check) and UndefinedBehaviorSanitizer;
#                       any report ends the program (no recovery), so a test cannot pass over it.
#   TESSMARK_BUILD_FUZZ the libFuzzer targets of fuzz/ (clang only); implies TESSMARK_SANITIZE and
#                       adds libFuzzer's coverage instrumentation to everything.
option(TESSMARK_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TESSMARK_BUILD_FUZZ "Build the libFuzzer targets in fuzz/ (clang; implies TESSMARK_SANITIZE)"
       OFF)

if(TESSMARK_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TESSMARK_BUILD_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(TESSMARK_SANITIZE ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(TESSMARK_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "TESSMARK_SANITIZE is for gcc and clang")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
