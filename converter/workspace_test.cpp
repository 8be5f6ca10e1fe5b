#include "workspace.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tessmark {
namespace {

// A workspace text and the entries it gives.
TEST(WorkspaceEntriesTest, EntriesWhereverTheLayoutPutsThem) {
  using Entries = std::vector<std::string>;
  const std::pair<const char*, Entries> rows[] = {
      {"<project>\n  <path>$WS_DIR$\\app.ewp</path>\n</project>", {"$WS_DIR$\\app.ewp"}},
      {"<project>\r\n\t<path> \t\"$WS_DIR$\\a.ewp\" \r\n</path>", {"$WS_DIR$\\a.ewp"}},
      {"<project><path>\" spaced name.ewp \"</path></project>", {" spaced name.ewp "}},
      {"<workspace><project><path>a.ewp</path></project><project><path>b.ewp</path>"
       "</project><batchBuild><batchDefinition><member><project>a</project>"
       "</member></batchDefinition></batchBuild></workspace>",
       {"a.ewp", "b.ewp"}},
      {"<project>\n<!-- moved -->\n<!--x--><path>c.ewp</path>", {"c.ewp"}},
      {"<!-- <project><path>old.ewp</path> --><project><path>new.ewp</path>", {"new.ewp"}},
      {"<project><path>x.ewp</path><!-- never closed <project><path>y.ewp</path>", {"x.ewp"}},
      {"<project><!-- never closed <path>y.ewp</path>", {}},
      {"<Project><path>upper.ewp</path><project>\n<name>n</name><path>late.ewp</path>", {}},
      {"<project>\n<path>open.ewp", {"open.ewp"}},
      {"<project><path>", {""}},
      {"<project><path>a<project><path>b</path>", {"a<project><path>b"}},
      {"<project><path></path><project><path>  </path>", {"", ""}},
      {"<project>", {}},
      {"", {}}};
  for (const auto& [text, entries] : rows)
    EXPECT_EQ(entries, workspaceEntries(text)) << text;
}

TEST(WorkspaceEntriesTest, WorkspaceByName) {
  EXPECT_TRUE(isWorkspacePath("C:\\w\\S1_TEST.EWW"));
  EXPECT_TRUE(isWorkspacePath("/w/demo.Eww"));
  EXPECT_TRUE(isWorkspacePath("/my.ewwork/app.ewp"));
  EXPECT_FALSE(isWorkspacePath("/my.EWWORK/app.ewp"));
  EXPECT_FALSE(isWorkspacePath("/w/app.ewp"));
}

// An entry and the name and folder of the project node made for it.
TEST(WorkspaceEntriesTest, EntryToNode) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"C:\\ws\\\\app.ewp", "app", "C:\\ws\\\\"},
      {" spaced name.ewp ", " spaced name", ""},
      {"C:\\ws\\\\lib\\lib.rel.ewp", "lib", "C:\\ws\\\\lib\\"},
      {"C:\\ws\\/sub/app.ewp", "app", "C:\\ws\\\\sub\\"},
      {"", "", ""},
      {"/ws/\\app.ewp", "app", "/ws//"}};
  for (const auto& [entry, name, folder] : rows) {
    const PathStyle style = entry[0] == '/' ? PathStyle::kPosix : PathStyle::kWindows;
    const WorkspaceProject project = describeWorkspaceEntry(entry, style);
    EXPECT_EQ(name, project.name) << entry;
    EXPECT_EQ(folder, project.path) << entry;
  }
}

}  // namespace
}  // namespace tessmark
