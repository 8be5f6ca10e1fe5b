#include "output/personality.h"

#include <gtest/gtest.h>

namespace tessmark {
namespace {

TEST(AnalyserRulesTest, BaseNamePrefersTheLastBackslash) {
  EXPECT_EQ("Debug", analyserBaseName("Debug"));
  EXPECT_EQ("c", analyserBaseName("a/b\\c"));
  EXPECT_EQ("b/c", analyserBaseName("a\\b/c"));
  EXPECT_EQ("c", analyserBaseName("a/b/c"));
  EXPECT_EQ("", analyserBaseName("a\\"));
  EXPECT_EQ("", analyserBaseName(""));
}

TEST(AnalyserRulesTest, LastComponentPicksTheSeparatorByWhichComesFirst) {
  EXPECT_EQ("", lastComponent(""));
  EXPECT_EQ("app", lastComponent("app"));
  EXPECT_EQ("Debug", lastComponent("app\\Debug"));
  EXPECT_EQ("Debug", lastComponent("app/Debug"));
  // '/' first, '\' later: the backslash is picked.
  EXPECT_EQ("c", lastComponent("a/b\\c"));
  // '\' first, '/' later: the slash is picked.
  EXPECT_EQ("c", lastComponent("a\\b/c"));
  EXPECT_EQ("b\\c", lastComponent("x\\a/b\\c"));
}

TEST(AnalyserRulesTest, CandidateInBothStyles) {
  EXPECT_EQ("C:\\out\\\\person\\.p_a", analyserCandidate("C:\\out", "", PathStyle::kWindows));
  EXPECT_EQ("C:\\out\\app\\Debug\\person\\Debug.p_a",
            analyserCandidate("C:\\out", "app\\Debug", PathStyle::kWindows));
  EXPECT_EQ("/out/app/Debug/person/Debug.p_a",
            analyserCandidate("/out", "app/Debug", PathStyle::kPosix));
  EXPECT_EQ("/out//person/.p_a", analyserCandidate("/out", "", PathStyle::kPosix));
}

TEST(ConfinementTest, DotDotAsAWholeComponentClimbsOut) {
  for (const char* name : {"..", "../x", "x/..", "a\\..\\b", "a/../b", "..\\"}) {
    EXPECT_TRUE(climbsOut(name)) << name;
  }
  for (const char* name : {"", ".", "...", "..x", "x..", "a/.../b", "a.b", ". ."}) {
    EXPECT_FALSE(climbsOut(name)) << name;
  }
}

}  // namespace
}  // namespace tessmark
