#include "reading/compiler_arguments.h"

#include <gtest/gtest.h>

namespace tessmark {
namespace {

using Arguments = std::vector<std::string>;

TEST(CompilerArgumentsTest, Split) {
  const std::tuple<ArgumentText, const char*, Arguments> rows[] = {
      {ArgumentText::kOptions, "  -DA=1\t-I inc  ", {"-DA=1", "-I", "inc"}},
      {ArgumentText::kOptions, "-DNAME=\"a b\" \"x\"y\"\"", {"-DNAME=a b", "xy"}},
      {ArgumentText::kOptions, "-DA=// not a comment", {"-DA=//", "not", "a", "comment"}},
      {ArgumentText::kOptions, "\"\" -x", {"", "-x"}},
      {ArgumentText::kOptionFile, "-DA /* c */-DB // -DC\r\n-DD/*", {"-DA", "-DB", "-DD"}},
      {ArgumentText::kOptionFile, "-DA/**/-DB", {"-DA", "-DB"}},
      {ArgumentText::kOptionFile, "\"-DQ=/* kept */\" -I\"a b\"//x", {"-DQ=/* kept */", "-Ia b"}},
      {ArgumentText::kOptionFile, "", {}}};
  for (const auto& [kind, text, arguments] : rows)
    EXPECT_EQ(arguments, splitArguments(text, kind)) << text;
}

// The arguments read, as kind letter and value: D symbol=definition, I, f, p (pre-include).
TEST(CompilerArgumentsTest, WhatCounts) {
  const std::pair<Arguments, Arguments> rows[] = {
      {{"-DA", "-DB=2", "-D", "C=x=y", "-D=5"}, {"DA=", "DB=2", "DC=x=y", "D=5"}},
      {{"-Iinc", "-I", "$PROJ_DIR$\\x", "-fopts.txt", "-f", "more.txt"},
       {"Iinc", "I$PROJ_DIR$\\x", "fopts.txt", "fmore.txt"}},
      {{"--preinclude", "pre.h", "--debug", "-e", "--diag_suppress=Pa050", "-O2"}, {"ppre.h"}},
      {{"-D"}, {}},
      {{"-I"}, {}},
      {{"--preinclude"}, {}},
      {{"-", "D", "x"}, {}}};
  for (const auto& [arguments, read] : rows) {
    Arguments got;
    for (const CompilerArgument& argument : readCompilerArguments(arguments)) {
      const char kind = "DIfp"[argument.kind];
      got.push_back(kind + argument.value +
                    (argument.kind == CompilerArgument::kDefine ? "=" + argument.definition : ""));
    }
    EXPECT_EQ(read, got) << arguments[0];
  }
}

}  // namespace
}  // namespace tessmark
