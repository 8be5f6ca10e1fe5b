#include "paths.h"

#include <gtest/gtest.h>

#include <map>

namespace tessmark {
namespace {

// Drives with their own current directories, as Windows keeps them; a POSIX process has one.
class FakeDirectories : public CurrentDirectory {
 public:
  FakeDirectories(std::string current, std::map<std::string, std::string> drives = {})
      : current_(std::move(current)), drives_(std::move(drives)) {}

  std::string read() override { return current_; }
  void change(const std::string& path) override {
    ++changes;
    const auto drive = drives_.find(path);
    if (drive == drives_.end())
      return;  // a drive that cannot be made current
    drives_[current_.substr(0, 2)] = current_;
    current_ = drive->second;
  }

  int changes = 0;

 private:
  std::string current_;
  std::map<std::string, std::string> drives_;
};

struct AbsoluteCase {
  const char* argument;
  const char* expected;
};

TEST(MakeAbsoluteTest, WindowsTableWithForwardSlashAsRoot) {
  const AbsoluteCase cases[] = {
      {"C:\\a\\b", "C:\\a\\b"},
      {"\\a\\b", "\\a\\b"},
      {"\\\\server\\share\\x", "\\\\server\\share\\x"},
      {".", "C:\\work"},
      {"", "C:\\work\\"},
      {"sub\\p.ewp", "C:\\work\\sub\\p.ewp"},
      {"..\\x", "C:\\work\\..\\x"},
      {"/x", "/x"},
      {"D:", "D:\\data\\"},
      {"D:x", "D:\\data\\x"},
      {"C:/x", "C:/x"},
      {"C:x", "C:\\work\\x"},
      {"sub/p.ewp", "C:\\work\\sub/p.ewp"},
  };
  for (const AbsoluteCase& c : cases) {
    FakeDirectories dirs("C:\\work", {{"C:", "C:\\work"}, {"D:", "D:\\data"}});
    EXPECT_EQ(c.expected, makeAbsolute(c.argument, PathStyle::kWindows, dirs)) << c.argument;
    EXPECT_EQ("C:\\work", dirs.read()) << "not back on drive C after " << c.argument;
  }
}

TEST(MakeAbsoluteTest, WindowsDriveRelativeSwitchesDriveOnceAndBack) {
  FakeDirectories dirs("C:\\work", {{"C:", "C:\\work"}, {"D:", "D:\\data"}});
  EXPECT_EQ("D:\\data\\x", makeAbsolute("D:x", PathStyle::kWindows, dirs));
  EXPECT_EQ(2, dirs.changes);
  EXPECT_EQ("C:\\work", dirs.read());
}

TEST(MakeAbsoluteTest, WindowsUnknownDriveResolvesAgainstCurrentDirectory) {
  FakeDirectories dirs("C:\\work", {{"C:", "C:\\work"}});
  EXPECT_EQ("C:\\work\\x", makeAbsolute("Q:x", PathStyle::kWindows, dirs));
}

TEST(MakeAbsoluteTest, WindowsRootDirectoryDoublesTheSeparator) {
  FakeDirectories dirs("C:\\");
  EXPECT_EQ("C:\\\\src", makeAbsolute("src", PathStyle::kWindows, dirs));
}

TEST(MakeAbsoluteTest, PosixRules) {
  const AbsoluteCase cases[] = {
      {"/a/b", "/a/b"},     {"//server/x", "//server/x"},     {".", "/work"},
      {"", "/work/"},       {"sub/p.ewp", "/work/sub/p.ewp"}, {"../x", "/work/../x"},
      {"C:x", "/work/C:x"}, {"C:\\x", "/work/C:\\x"},         {"\\x", "/work/\\x"},
      {"./a", "/work/./a"},
  };
  for (const AbsoluteCase& c : cases) {
    FakeDirectories dirs("/work");
    EXPECT_EQ(c.expected, makeAbsolute(c.argument, PathStyle::kPosix, dirs)) << c.argument;
    EXPECT_EQ(0, dirs.changes);
  }
  FakeDirectories root("/");
  EXPECT_EQ("//src", makeAbsolute("src", PathStyle::kPosix, root));
}

TEST(DefaultProjectNameTest, WindowsTable) {
  const AbsoluteCase cases[] = {
      {"C:\\w\\blinky.ewp", "blinky"}, {"C:\\w\\app.debug.ewp", "app"},
      {"C:\\w.x\\proj.ewp", "proj"},   {"C:\\w\\proj", "proj"},
      {"C:\\w.x\\proj", "w"},          {"C:\\w\\.hidden.ewp", ""},
      {"C:\\w\\a/b.ewp", "a/b"},
  };
  for (const AbsoluteCase& c : cases) {
    EXPECT_EQ(c.expected, defaultProjectName(c.argument, PathStyle::kWindows)) << c.argument;
  }
}

TEST(DefaultProjectNameTest, PosixCutsAtSlashOnly) {
  EXPECT_EQ("blinky", defaultProjectName("/w/blinky.ewp", PathStyle::kPosix));
  EXPECT_EQ("w", defaultProjectName("/w.x/proj", PathStyle::kPosix));
  EXPECT_EQ("a\\b", defaultProjectName("/w/a\\b.ewp", PathStyle::kPosix));
}

TEST(SeparatorTest, NativeSeparatorsInPlace) {
  std::string windows = "a/b\\c//d";
  toNativeSeparators(windows, PathStyle::kWindows);
  EXPECT_EQ("a\\b\\c\\\\d", windows);
  std::string posix = "a/b\\c\\\\d";
  toNativeSeparators(posix, PathStyle::kPosix);
  EXPECT_EQ("a/b/c//d", posix);
}

TEST(SeparatorTest, CuttingAtTheLastSeparator) {
  EXPECT_EQ("app.ewp", fileNameOf("C:\\w\\app.ewp", PathStyle::kWindows));
  EXPECT_EQ("C:\\w", folderOf("C:\\w\\app.ewp", PathStyle::kWindows));
  EXPECT_EQ("C:\\w\\", folderWithSeparatorOf("C:\\w\\app.ewp", PathStyle::kWindows));
  EXPECT_EQ("", folderWithSeparatorOf("app.ewp", PathStyle::kWindows));
  EXPECT_EQ("app.ewp", folderOf("app.ewp", PathStyle::kPosix));
  EXPECT_EQ("b", fileNameOf("/w/a\\b", PathStyle::kWindows));
  EXPECT_EQ("a\\b", fileNameOf("/w/a\\b", PathStyle::kPosix));
}

TEST(TrimCharTest, RemovesOnlyTheOuterRuns) {
  EXPECT_EQ("a b", trimChar("  a b ", ' '));
  EXPECT_EQ("", trimChar("\"\"\"", '"'));
  EXPECT_EQ("", trimChar("", ' '));
  EXPECT_EQ("x\"y", trimChar("\"x\"y\"\"", '"'));
}

TEST(ReplaceFirstTest, OnlyTheFirstOccurrence) {
  EXPECT_EQ("C:\\ws\\$WS_DIR$", replaceFirst("$WS_DIR$$WS_DIR$", "$WS_DIR$", "C:\\ws\\"));
  EXPECT_EQ("none", replaceFirst("none", "$X$", "y"));
}

}  // namespace
}  // namespace tessmark
