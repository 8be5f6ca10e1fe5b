// What every test of the Windows suite shares: the programs under test and the one Wine prefix
// of the run, which main makes before the first test and removes after the last.
#ifndef TESSMARK_TESTS_WINDOWS_SUITE_H_
#define TESSMARK_TESTS_WINDOWS_SUITE_H_

#include "wine_prefix.h"

namespace tessmark_test {

WinePrefix& suitePrefix();

inline const char* windowsExe() {
  return TESSMARK_WINDOWS_EXE;
}

inline const char* linuxExe() {
  return TESSMARK_LINUX_EXE;
}

}  // namespace tessmark_test

#endif  // TESSMARK_TESTS_WINDOWS_SUITE_H_
