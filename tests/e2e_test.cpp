// Every folder under tests/cases is one run of the real converter; see e2e_runner.h. The Windows
// cases share one Wine installation, so CTest runs them as one test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "e2e_runner.h"

namespace tessmark_test {
namespace {

class Cases : public ::testing::TestWithParam<std::string> {};

TEST_P(Cases, DoWhatTheirFolderRecords) {
  runCase(std::filesystem::path(TESSMARK_CASES_DIR) / GetParam(), TESSMARK_BINARY,
          TESSMARK_WINDOWS_EXE);
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  std::replace_if(
      name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Linux, Cases,
                         ::testing::ValuesIn(caseNames(TESSMARK_CASES_DIR, "windows", false)),
                         testName);
INSTANTIATE_TEST_SUITE_P(Windows, Cases,
                         ::testing::ValuesIn(caseNames(TESSMARK_CASES_DIR, "windows", true)),
                         testName);

}  // namespace
}  // namespace tessmark_test
