#include "session.h"

#include <gtest/gtest.h>

namespace tessmark {
namespace {

using Strings = std::vector<std::string>;

TEST(AddExtensionsTest, PiecesAreKeptAsWritten) {
  ConverterSession session("/w/a.ewp", "/d", "/iar", PathStyle::kPosix);
  session.addExtensions("c,h");
  session.addExtensions("asm");
  EXPECT_EQ((Strings{"c", "h", "asm"}), session.extensions);
  session.addExtensions("c,");
  session.addExtensions("");
  session.addExtensions(" .S ,,x");
  EXPECT_EQ((Strings{"c", "h", "asm", "c", "", "", " .S ", "", "x"}), session.extensions);
}

TEST(RootProjectTest, NamedAfterTheSourceWithoutItsLastFourCharacters) {
  struct {
    const char* source;
    PathStyle style;
    const char* name;
  } cases[] = {
      {"C:\\w\\demo.eww", PathStyle::kWindows, "demo"},
      {"C:\\w\\ab", PathStyle::kWindows, "ab"},
      {"C:\\w\\abcd", PathStyle::kWindows, ""},
      {"C:\\w\\app.debug.ewp", PathStyle::kWindows, "app.debug"},
      {"/w/demo.eww", PathStyle::kPosix, "demo"},
      {"/w/x\\demo.eww", PathStyle::kPosix, "x\\demo"},
  };
  for (const auto& c : cases) {
    ConverterSession session(c.source, "/d", "/iar", c.style);
    EXPECT_EQ(c.name, session.rootProject->name) << c.source;
    EXPECT_EQ("", session.rootProject->path);
    EXPECT_EQ(&session, session.rootProject->session);
  }
}

TEST(RootProjectTest, EmptyIarFolderTakesTheRegistryDefault) {
  ConverterSession session("/w/a.ewp", "/d", "", PathStyle::kPosix);
  EXPECT_EQ(defaultIARInstallDir(), session.iarInstallDir);
  ConverterSession given("/w/a.ewp", "/d", "/opt/iar", PathStyle::kPosix);
  EXPECT_EQ("/opt/iar", given.iarInstallDir);
}

TEST(ProjectNodeTest, DefinesAreOrderedByteWise) {
  ConverterSession session("/w/a.ewp", "/d", "/iar", PathStyle::kPosix);
  ProjectNode* node = session.newNode("n");
  for (const char* symbol : {"B", "AB", "A1", "A", "\xE4", "a"})
    node->define(symbol, "1");
  node->define("B", "2");
  Strings order;
  for (const auto& entry : node->defines)
    order.push_back(entry.first);
  EXPECT_EQ((Strings{"A", "A1", "AB", "B", "a", "\xE4"}), order);
  EXPECT_EQ("2", node->defines["B"]);
}

}  // namespace
}  // namespace tessmark
