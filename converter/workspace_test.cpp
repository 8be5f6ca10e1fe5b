#include "workspace.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tessmark {
namespace {

// A "<path>" line of the workspace C:\ws\demo.eww, the project path it gives, and the name and
// folder of the project node made for that path; rows whose entry starts with '/' are read as
// POSIX paths, in /ws/demo.eww.
TEST(WorkspaceEntryTest, PathLineToEntryAndNode) {
  const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
      {"<path>$WS_DIR$\\app.ewp</path>", "C:\\ws\\\\app.ewp", "app", "C:\\ws\\\\"},
      {"  <path>  \"$WS_DIR$\\a.ewp\"  </path>", "C:\\ws\\\\a.ewp", "a", "C:\\ws\\\\"},
      {"<path>\" spaced name.ewp \"</path>", " spaced name.ewp ", " spaced name", ""},
      {"<path>$WS_DIR$\\lib\\lib.rel.ewp</path>", "C:\\ws\\\\lib\\lib.rel.ewp", "lib",
       "C:\\ws\\\\lib\\"},
      {"<path>$WS_DIR$/sub/app.ewp</path>", "C:\\ws\\/sub/app.ewp", "app", "C:\\ws\\\\sub\\"},
      {"<path>$WS_DIR$$WS_DIR$x.ewp</path>", "C:\\ws\\$WS_DIR$x.ewp", "$WS_DIR$x", "C:\\ws\\"},
      {"<path>$WS_DIR$\\open.ewp", "C:\\ws\\\\open.ewp", "open", "C:\\ws\\\\"},
      {"<path>", "", "", ""},
      {"<path>$WS_DIR$\\app.ewp</path>", "/ws/\\app.ewp", "app", "/ws//"}};
  for (const auto& [line, entry, name, folder] : rows) {
    const PathStyle style = entry[0] == '/' ? PathStyle::kPosix : PathStyle::kWindows;
    const std::string read =
        workspaceEntryFromLine(line, style == PathStyle::kPosix ? "/ws" : "C:\\ws", style);
    const WorkspaceProject project = describeWorkspaceEntry(read, style);
    EXPECT_EQ(entry, read) << line;
    EXPECT_EQ(name, project.name) << line;
    EXPECT_EQ(folder, project.path) << line;
  }
}

}  // namespace
}  // namespace tessmark
