#!/bin/sh
# Builds the converter and its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (TESSMARK_SANITIZE) in a build folder of its own and runs the whole unit and end-to-end suite
# there. The wizard and the Windows suite are left out: neither runs converter code that the
# Linux suite does not, and Wine would run the uninstrumented cross build anyway.
#
#   fuzz/run_sanitized_tests.sh [build-folder]      (default: build-asan beside this folder)
#
# Any sanitizer report ends the process that made it with status 86 (no recovery), so the test
# that ran it fails and its log holds the report.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build-asan}

cmake -S "$repo" -B "$build" -G Ninja -DTESSMARK_SANITIZE=ON -DTESSMARK_BUILD_WIZARD=OFF \
  -DTESSMARK_WINDOWS_SUITE=OFF -DTESSMARK_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j2

# exitcode: a report must not look like the converter's own status 1.
ASAN_OPTIONS=exitcode=86:detect_leaks=1:strict_string_checks=1:check_initialization_order=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:exitcode=86 \
  ctest --test-dir "$build" -j2 --output-on-failure --timeout 900
