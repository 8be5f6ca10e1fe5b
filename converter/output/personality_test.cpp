#include "output/personality.h"

#include <gtest/gtest.h>

namespace tessmark {
namespace {

TEST(PersonalityRulesTest, NamesOfAnalyserPersonalities) {
  const struct {
    std::string (*rule)(const std::string&);
    const char* in;
    const char* out;
  } rows[] = {
      {analyserBaseName, "a/b\\c", "c"},      {analyserBaseName, "a\\b/c", "b/c"},
      {analyserBaseName, "a/b/c", "c"},       {lastComponent, "app", "app"},
      {lastComponent, "app\\Debug", "Debug"}, {lastComponent, "app/Debug", "Debug"},
      {lastComponent, "a/b\\c", "c"},         {lastComponent, "x\\a/b\\c", "b\\c"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.out, row.rule(row.in)) << row.in;
}

TEST(PersonalityRulesTest, ClimbsOutOnlyWithDotDotAsAWholeComponentOrANul) {
  for (const char* name : {"..", "../x", "x/..", "a\\..\\b", "a/../b"})
    EXPECT_TRUE(climbsOut(name)) << name;
  EXPECT_TRUE(climbsOut(std::string("src\0x", 5)));
  for (const char* name : {"", ".", "...", "..x", "x..", "a/.../b"})
    EXPECT_FALSE(climbsOut(name)) << name;
}

}  // namespace
}  // namespace tessmark
