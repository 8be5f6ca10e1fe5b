#include <gtest/gtest.h>

#include "e2e_runner.h"
#include "session.h"

namespace tessmark {
namespace {

using tessmark_test::TempFolder;
using tessmark_test::writeBytes;
using Strings = std::vector<std::string>;

std::string option(const std::string& name, const Strings& states) {
  std::string xml = "<option><name>" + name + "</name>";
  for (const std::string& state : states)
    xml += "<state>" + state + "</state>";
  return xml + "</option>";
}

std::string configuration(const std::string& name, const std::string& options = "") {
  return "<configuration><name>" + name +
         "</name><toolchain><name>ARM</name></toolchain><debug>1</debug>"
         "<settings><name>ICCARM</name><archiveVersion>2</archiveVersion><data>"
         "<version>1</version><wantNonLocal>1</wantNonLocal><debug>1</debug>" +
         options + "</data></settings></configuration>";
}

std::string file(const std::string& path) {
  return "<file><name>" + path + "</name></file>";
}

std::string group(const std::string& name, const std::string& content) {
  return "<group><name>" + name + "</name>" + content + "</group>";
}

class ProjectReaderTest : public ::testing::Test {
 protected:
  // Reads body (the content of the project element) as /w/p/p.ewp in the given style.
  bool read(const std::string& body, PathStyle style = PathStyle::kPosix) {
    const std::string path = (tmp_.path() / "p.ewp").string();
    writeBytes(path, "<?xml version=\"1.0\"?>\r\n<project>\r\n<fileVersion>2</fileVersion>" + body +
                         "</project>\r\n");
    const char sep = separatorOf(style);
    session_ = std::make_unique<ConverterSession>(
        std::string(1, sep) + "w" + sep + "p" + sep + "p.ewp", "/d", "/iar", style);
    root()->path = std::string(1, sep) + "w" + sep + "p" + sep;
    session_->extensions = extensions_;
    session_->reader.open(path);
    return session_->readProject(root());
  }
  ProjectNode* root() { return session_->rootProject; }
  ProjectNode* child(size_t i) { return root()->children.at(i); }
  std::string stopToken() { return session_->reader.tokenText(); }

  TempFolder tmp_;
  Strings extensions_;
  std::unique_ptr<ConverterSession> session_;
};

TEST_F(ProjectReaderTest, GroupsAndTopLevelFilesAreSharedByConfigurations) {
  ASSERT_TRUE(read(configuration("Debug") + configuration("Release") +
                   group("src", file("a.c") + file("b.c")) + file("top.c")));
  ASSERT_EQ(2u, root()->children.size());
  EXPECT_TRUE(root()->files.empty());
  for (ProjectNode* config : root()->children) {
    EXPECT_EQ("/w/p/", config->path);
    EXPECT_EQ(Strings{"top.c"}, config->files);
    ASSERT_EQ(1u, config->children.size());
  }
  EXPECT_EQ("Debug", child(0)->name);
  EXPECT_EQ("Release", child(1)->name);
  EXPECT_EQ(child(0)->children[0], child(1)->children[0]);
  EXPECT_EQ((Strings{"a.c", "b.c"}), child(0)->children[0]->files);
  EXPECT_EQ("", child(0)->children[0]->path);
}

TEST_F(ProjectReaderTest, WithoutConfigurationsGroupsKeepTheirNesting) {
  ASSERT_TRUE(read(group("outer", file("o.c") + group("inner", file("i.c"))) + file("top.c")));
  EXPECT_EQ(Strings{"top.c"}, root()->files);
  ASSERT_EQ(1u, root()->children.size());
  ProjectNode* outer = child(0);
  ASSERT_EQ(1u, outer->children.size());
  EXPECT_EQ("inner", outer->children[0]->name);
  EXPECT_EQ(Strings{"i.c"}, outer->children[0]->files);
}

TEST_F(ProjectReaderTest, UnderConfigurationsNestedGroupsAreFlattenedInDocumentOrder) {
  // Sub-groups before files, as newer IAR versions write them.
  ASSERT_TRUE(read(configuration("A") + configuration("B") +
                   group("g1", group("g2", group("g3", file("x.c"))) + file("y.c")) +
                   group("g4", "")));
  for (ProjectNode* config : root()->children) {
    ASSERT_EQ(4u, config->children.size());
    EXPECT_EQ("g1", config->children[0]->name);
    EXPECT_EQ("g2", config->children[1]->name);
    EXPECT_EQ("g3", config->children[2]->name);
    EXPECT_EQ("g4", config->children[3]->name);
    for (ProjectNode* g : config->children)
      EXPECT_TRUE(g->children.empty());
  }
  EXPECT_EQ(Strings{"y.c"}, child(0)->children[0]->files);
  EXPECT_EQ(Strings{"x.c"}, child(0)->children[2]->files);
}

TEST_F(ProjectReaderTest, VariablesAreReplacedOnceAndPathsMadeNative) {
  ASSERT_TRUE(read(group("g", group("h", file("$PROJ_DIR$\\src\\a.c"))) +
                   file("$EW_DIR$\\lib\\$PROJ_DIR$\\$PROJ_DIR$\\b.c") +
                   file("$TOOLKIT_DIR$\\c.c")));
  EXPECT_EQ(Strings{"/w/p/src/a.c"}, child(0)->children[0]->files);
  EXPECT_EQ((Strings{"/iar/lib//w/p/$PROJ_DIR$/b.c", "$TOOLKIT_DIR$/c.c"}), root()->files);
}

TEST_F(ProjectReaderTest, WindowsKeepsTheFilesOwnSeparators) {
  ASSERT_TRUE(read(file("$PROJ_DIR$\\src/a.c"), PathStyle::kWindows));
  EXPECT_EQ(Strings{"\\w\\p\\src/a.c"}, root()->files);
}

TEST_F(ProjectReaderTest, ExtensionFilterComparesInUpperCase) {
  extensions_ = {"c", "CPP", ".h"};
  ASSERT_TRUE(read(group("g", file("main.c") + file("util.Cpp") + file("readme.txt") + file("x.h") +
                                  file("Makefile") + file("d.x/file"))));
  EXPECT_EQ((Strings{"main.c", "util.Cpp"}), child(0)->files);
}

TEST_F(ProjectReaderTest, ExcludedBlocksAndFileConfigurationsAreReadAndDropped) {
  ASSERT_TRUE(read(configuration("Debug", option("CCDefines", {"OUTER"})) +
                   "<group><name>g</name><excluded><configuration>Debug</configuration>"
                   "</excluded>"
                   "<file><name>a.c</name><excluded><configuration>Debug</configuration>"
                   "<configuration>Release</configuration></excluded>" +
                   configuration("Debug", option("CCDefines", {"INNER"})) + "</file></group>"));
  ASSERT_EQ(1u, root()->children.size());
  EXPECT_EQ(Strings{"a.c"}, child(0)->children.at(0)->files);
  EXPECT_EQ(1u, child(0)->defines.count("OUTER"));
  EXPECT_EQ(0u, child(0)->defines.count("INNER"));
}

TEST_F(ProjectReaderTest, NewerSettingsElementsAreAccepted) {
  ASSERT_TRUE(
      read("<configuration><name>Debug</name><settings><name>CUSTOM</name><archiveVersion>3"
           "</archiveVersion><data><extensions></extensions><cmdline></cmdline><hasPrio>0</hasPrio>"
           "<buildSequence>inputOutputBased</buildSequence></data></settings><settings><name>B"
           "</name><data /></settings><settings><name>C</name><data/></settings></configuration>"));
  EXPECT_EQ(1u, root()->children.size());
}

TEST_F(ProjectReaderTest, GroupWithoutNameHasEmptyName) {
  ASSERT_TRUE(read("<group>" + file("a.c") + "</group>"));
  EXPECT_EQ("", child(0)->name);
  EXPECT_EQ(Strings{"a.c"}, child(0)->files);
}

struct StopCase {
  const char* body;
  const char* token;
};

TEST_F(ProjectReaderTest, OutOfOrderElementsStopAtTheirToken) {
  const StopCase cases[] = {
      {"<group><name>g</name></group><configuration><name>D</name></configuration>",
       "configuration"},
      {"<unknown></unknown>", "unknown"},
      {"<group><name>g</name><file/></group>", "file/"},
      {"<group><name>g</name><mfc></mfc></group>", "mfc"},
      {"<group><excluded></excluded><name>g</name></group>", "name"},
  };
  for (const StopCase& c : cases) {
    EXPECT_FALSE(read(c.body)) << c.body;
    EXPECT_EQ(c.token, stopToken()) << c.body;
  }
}

TEST_F(ProjectReaderTest, WhatWasReadBeforeAStopStaysAttached) {
  EXPECT_FALSE(read(group("g", file("a.c") + "<bad>") + "</group>"));
  ASSERT_EQ(1u, root()->children.size());
  EXPECT_EQ(Strings{"a.c"}, child(0)->files);
}

std::string nestedGroups(int depth) {
  std::string xml;
  for (int i = 0; i < depth; ++i)
    xml += "<group><name>g" + std::to_string(i) + "</name>";
  for (int i = 0; i < depth; ++i)
    xml += "</group>";
  return xml;
}

TEST_F(ProjectReaderTest, GroupsNestDownTo256Levels) {
  ASSERT_TRUE(read(nestedGroups(256)));
  const ProjectNode* node = root();
  int depth = 0;
  while (!node->children.empty()) {
    node = node->children[0];
    ++depth;
  }
  EXPECT_EQ(256, depth);
}

TEST_F(ProjectReaderTest, DeeperNestingStopsAtTheGroupTag) {
  EXPECT_FALSE(read(nestedGroups(100000)));
  EXPECT_EQ("group", stopToken());
  EXPECT_TRUE(session_->reader.good());
}

// --- compiler options ---

TEST_F(ProjectReaderTest, DefinesWithQuotesAreStringified) {
  ASSERT_TRUE(
      read(configuration("D", option("CCDefines", {"DEBUG", "LEVEL=2", "GREETING=\"hi\"", "A=B=C",
                                                   "=5", "MID=a\"b", "Q=\"\"", "EMPTY="}))));
  const std::map<std::string, std::string> expected = {
      {"", "5"},
      {"A", "B=C"},
      {"DEBUG", ""},
      {"EMPTY", ""},
      {"GREETING", "VTX_STRINGIFY(hi)"},
      {"LEVEL", "2"},
      {"MID", "VTX_STRINGIFY(a\"b)"},
      {"Q", "VTX_STRINGIFY()"},
      {"VTX_STRINGIFY(x)", "#x"},
  };
  EXPECT_EQ(expected, child(0)->defines);
}

TEST_F(ProjectReaderTest, BitDefinitionsSwitch) {
  ASSERT_TRUE(read(configuration("D", option("CCDefines", {"ENABLE_BIT_DEFINITIONS=3"}) +
                                          option("LCEnableBitDefs", {"1"})) +
                   configuration("E", option("LCEnableBitDefs", {"0"}))));
  EXPECT_EQ("", child(0)->defines.at("ENABLE_BIT_DEFINITIONS"));
  EXPECT_TRUE(child(1)->defines.empty());
}

TEST_F(ProjectReaderTest, IncludePathsFromEveryOptionNamedLikeThem) {
  ASSERT_TRUE(read(configuration(
      "D", option("CCIncludePath2", {"$PROJ_DIR$\\inc", "$EW_DIR$\\inc"}) +
               option("CCIncludePath", {"$PROJ_DIR$\\inc"}) + option("XCCIncludePath", {"x"}) +
               option("AIncludePath", {"z"}) + option("CCIncludePathX", {"", "y"}))));
  EXPECT_EQ((Strings{"/w/p/inc", "$EW_DIR$/inc", "/w/p/inc", "x", "y"}), child(0)->includePaths);
}

TEST_F(ProjectReaderTest, OptionsWithoutNameOrStatesChangeNothing) {
  ASSERT_TRUE(
      read(configuration("D", option("CCDefines", {"", ""}) +
                                  "<option><state>X</state></option><option><name>CCDefines</name>"
                                  "<version>3</version></option>")));
  EXPECT_TRUE(child(0)->defines.empty());
}

TEST_F(ProjectReaderTest, PreIncludeNoticeOncePerConfigurationWithNode) {
  testing::internal::CaptureStdout();
  ASSERT_TRUE(read(configuration("D", option("PreInclude", {"$PROJ_DIR$\\pre.h", "b.h"})) +
                   configuration("R", option("PreInclude", {"r.h"})) + "<file><name>a.c</name>" +
                   configuration("D", option("PreInclude", {"file.h"})) + "</file>"));
  const std::string notice =
      "Please add the following file(s) to the Additional Includes List in your Compiler "
      "Personality as -fi entries: \n";
  EXPECT_EQ(notice + "/w/p/pre.h\nb.h\n" + notice + "r.h\n",
            testing::internal::GetCapturedStdout());
}

}  // namespace
}  // namespace tessmark
