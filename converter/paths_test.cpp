#include "paths.h"
#include "variables.h"

#include "iar_default.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tessmark {
namespace {

constexpr PathStyle kWin = PathStyle::kWindows;
constexpr PathStyle kPosix = PathStyle::kPosix;

// Drives C: and D: with their own current directories, as Windows keeps them.
struct FakeDirectories : CurrentDirectory {
  explicit FakeDirectories(std::string start) : current(std::move(start)) {}
  std::string read() override { return current; }
  void change(const std::string& drive) override {
    current = drive == "C:" ? "C:\\work" : drive == "D:" ? "D:\\data" : current;
  }
  std::string current;
};

TEST(PathRulesTest, MakeAbsoluteEndsOnTheDriveItStartedOn) {
  const std::tuple<PathStyle, const char*, const char*> rows[] = {
      {kWin, "C:\\", "C:\\"},
      {kWin, "C:/x", "C:/x"},
      {kWin, "\\a", "\\a"},
      {kWin, ".", "C:\\work"},
      {kWin, "", "C:\\work\\"},
      {kWin, "sub\\p.ewp", "C:\\work\\sub\\p.ewp"},
      {kWin, "D:", "D:\\data\\"},
      {kWin, "D:x", "D:\\data\\x"},
      {kPosix, "/a", "/a"},
      {kPosix, ".", "/work"},
      {kPosix, "sub/p.ewp", "/work/sub/p.ewp"}};
  for (const auto& [style, argument, absolute] : rows) {
    FakeDirectories directories(style == kWin ? "C:\\work" : "/work");
    const std::string start = directories.current;
    EXPECT_EQ(absolute, makeAbsolute(argument, style, directories)) << argument;
    EXPECT_EQ(start, directories.current) << argument;
  }
}

TEST(PathRulesTest, RulesOfOneString) {
  using Rule = std::string (*)(const std::string&, PathStyle);
  const Rule native = [](const std::string& path, PathStyle style) {
    std::string native = path;
    toNativeSeparators(native, style);
    return native;
  };
  const Rule ide = [](const std::string& path, PathStyle) { return iarFolderFromIdePath(path); };
  const Rule unbroken = [](const std::string& value, PathStyle) { return unbrokenValue(value); };
  // A project folder as a workspace in the project's own folder makes it.
  const Rule projectDir = [](const std::string& value, PathStyle style) {
    VariableScope scope;
    scope.style = style;
    scope.projectFolder = style == kWin ? "C:\\ws\\\\" : "/ws//";
    return expandVariables(value, scope);
  };
  const std::tuple<Rule, PathStyle, const char*, const char*> rows[] = {
      {defaultProjectName, kWin, "C:\\w\\blinky.ewp", "blinky"},
      {defaultProjectName, kWin, "C:\\w\\app.debug.ewp", "app"},
      {defaultProjectName, kWin, "C:\\w\\.hidden.ewp", ""},
      {fileNameOf, kWin, "C:\\w\\app.ewp", "app.ewp"},
      {folderOf, kWin, "C:\\w\\app.ewp", "C:\\w"},
      {folderWithSeparatorOf, kPosix, "app.ewp", ""},
      {native, kWin, "a/b\\c//d", "a\\b\\c\\\\d"},
      {native, kPosix, "a/b\\c", "a/b/c"},
      {ide, kWin, "A\\B\\C\\tool.exe", "A\\B"},
      {ide, kWin, "none", "none"},
      {ide, kWin, "C:\\IDE.exe", "C:"},
      {ide, kWin, "C:\\IAR\\bin\\", "C:\\IAR"},
      {ide, kWin, "C:/A/B/IDE.exe", "C:/A/B/IDE.exe"},
      {ide, kWin, "", ""},
      {unbroken, kWin, "a\nb  ", "a b  "},
      {unbroken, kWin, "x \t\r\n  ", "x"},
      {unbroken, kWin, "a\r\nb\rc\nd\r\r\ne", "a b c d  e"},
      {projectDir, kWin, "$PROJ_DIR$..\\x", "C:\\ws..\\x"},
      {projectDir, kWin, "$PROJ_DIR$\\x", "C:\\ws\\\\\\x"},
      {projectDir, kPosix, "$PROJ_DIR$..\\x$PROJ_DIR$", "/ws..\\x/ws//"},
      {projectDir, kPosix, "$PROJ_DIR$/x", "/ws///x"},
      {projectDir, kPosix, "$PROJ_DIR$", "/ws//"},
      {projectDir, kPosix, "$EW_DIR$\\x", "$EW_DIR$\\x"}};
  for (const auto& [rule, style, in, out] : rows)
    EXPECT_EQ(out, rule(in, style)) << in;
}

TEST(PathRulesTest, TrimChar) {
  EXPECT_EQ("a b", trimChar("  a b ", ' '));
  EXPECT_EQ("x\"y", trimChar("\"x\"y\"\"", '"'));
  EXPECT_EQ("", trimChar("\"\"", '"'));
}

}  // namespace
}  // namespace tessmark
