#include "path_finder.h"

#include <gtest/gtest.h>

namespace tessmark {
namespace {

// A written component, the sorted names of its folder, and the name it takes there.
TEST(MatchEntryNameTest, ExactThenCaseThenTrailingDotsAndBlanks) {
  const std::vector<std::string_view> names = {"IAR", "INC", "Inc",  "LIB.", "Main.C",
                                               "inc", "lib", "lib.", "src",  "\xC3\xA9"};
  const std::pair<const char*, const char*> rows[] = {
      {"Inc", "Inc"},   {"iNc", "iNc"},          {"SRC", "src"},  {"main.c", "Main.C"},
      {"iar..", "IAR"}, {"IAR. .", "IAR"},       {"Src.", "src"}, {"Lib.", "Lib."},
      {"lib..", "lib"}, {"inc.", "inc."},        {"..", ".."},    {"", ""},
      {"gone", "gone"}, {"\xC3\x89", "\xC3\x89"}};
  for (const auto& [written, found] : rows)
    EXPECT_EQ(found, matchEntryName(written, names)) << written;
}

}  // namespace
}  // namespace tessmark
