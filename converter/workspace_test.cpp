#include "workspace.h"

#include <gtest/gtest.h>

#include "e2e_runner.h"
#include "session.h"

namespace tessmark {
namespace {

using tessmark_test::TempFolder;
using tessmark_test::writeBytes;
using Strings = std::vector<std::string>;

struct EntryCase {
  const char* line;
  const char* entry;
  const char* name;
  const char* path;
};

template <size_t N>
void checkEntries(const EntryCase (&cases)[N], const std::string& workspaceDir, PathStyle style) {
  for (const EntryCase& c : cases) {
    const std::string entry = workspaceEntryFromLine(c.line, workspaceDir, style);
    EXPECT_EQ(c.entry, entry) << c.line;
    const WorkspaceProject project = describeWorkspaceEntry(entry, style);
    EXPECT_EQ(c.name, project.name) << c.line;
    EXPECT_EQ(c.path, project.path) << c.line;
  }
}

TEST(WorkspaceEntryTest, WindowsTable) {
  const EntryCase cases[] = {
      {"<path>$WS_DIR$\\app.ewp</path>", "C:\\ws\\\\app.ewp", "app", "C:\\ws\\\\"},
      {"  <path>  \"$WS_DIR$\\app.ewp\"  </path>", "C:\\ws\\\\app.ewp", "app", "C:\\ws\\\\"},
      {"<path>$WS_DIR$\\lib\\lib.rel.ewp</path>", "C:\\ws\\\\lib\\lib.rel.ewp", "lib",
       "C:\\ws\\\\lib\\"},
      {"<path>$WS_DIR$/sub/app.ewp</path>", "C:\\ws\\/sub/app.ewp", "app", "C:\\ws\\\\sub\\"},
      {"<path>D:\\p\\x.ewp</path>", "D:\\p\\x.ewp", "x", "D:\\p\\"},
      {"<path>", "", "", ""},
      {"<path>$WS_DIR$\\a.ewp", "C:\\ws\\\\a.ewp", "a", "C:\\ws\\\\"},
      {"<path>\" spaced name.ewp \"</path>", " spaced name.ewp ", " spaced name", ""},
      {"<path>$WS_DIR$$WS_DIR$x.ewp</path>", "C:\\ws\\$WS_DIR$x.ewp", "$WS_DIR$x", "C:\\ws\\"},
  };
  checkEntries(cases, "C:\\ws", PathStyle::kWindows);
}

TEST(WorkspaceEntryTest, PosixTable) {
  const EntryCase cases[] = {
      {"<path>$WS_DIR$\\app.ewp</path>", "/ws/\\app.ewp", "app", "/ws//"},
      {"<path>$WS_DIR$/sub/app.ewp</path>", "/ws//sub/app.ewp", "app", "/ws//sub/"},
      {"<path>$WS_DIR$\\lib\\lib.rel.ewp</path>", "/ws/\\lib\\lib.rel.ewp", "lib", "/ws//lib/"},
      {"<path>rel\\x.ewp</path>", "rel\\x.ewp", "x", "rel/"},
  };
  checkEntries(cases, "/ws", PathStyle::kPosix);
}

class WorkspaceScanTest : public ::testing::Test {
 protected:
  Strings scan(const std::string& content) {
    const std::string path = (tmp_.path() / "demo.eww").string();
    writeBytes(path, content);
    ConverterSession session(path, "/d", "/iar", PathStyle::kPosix);
    return session.scanWorkspace();
  }
  std::string dir() const { return tmp_.path().string(); }

  TempFolder tmp_;
};

TEST_F(WorkspaceScanTest, OnlyProjectLinesFollowedByPathLines) {
  const Strings entries = scan(
      "<workspace>\r\n"
      "  <project>\r\n    <path>$WS_DIR$\\a.ewp</path>\r\n  </project>\r\n"
      "  <project><path>$WS_DIR$\\same-line.ewp</path>\r\n    <name>x</name>\r\n"
      "  <project>\r\n  <project>\r\n    <path>$WS_DIR$\\skipped.ewp</path>\r\n"
      "  <Project>\r\n    <path>$WS_DIR$\\case.ewp</path>\r\n"
      "  <project>\n    <path>$WS_DIR$\\a.ewp</path>\n"
      "  <project>\r\n    <path>$WS_DIR$\\last.ewp</path>");
  EXPECT_EQ((Strings{dir() + "/\\a.ewp", dir() + "/\\a.ewp", dir() + "/\\last.ewp"}), entries);
}

TEST_F(WorkspaceScanTest, ProjectLineAtTheEndYieldsNothing) {
  EXPECT_TRUE(scan("<project>").empty());
  EXPECT_TRUE(scan("<project><path>x.ewp</path>").empty());
  EXPECT_TRUE(scan("").empty());
}

TEST_F(WorkspaceScanTest, MissingWorkspaceCannotBeOpened) {
  ConverterSession session(dir() + "/missing.eww", "/d", "/iar", PathStyle::kPosix);
  try {
    session.scanWorkspace();
    FAIL() << "no error";
  } catch (const XMLReaderError& error) {
    EXPECT_EQ(XMLReaderError::CannotOpen, error.code);
  }
}

}  // namespace
}  // namespace tessmark
