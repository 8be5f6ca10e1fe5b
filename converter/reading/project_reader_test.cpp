#include <gtest/gtest.h>

#include <tuple>

#include "session.h"

namespace tessmark {
namespace {

// The "-ext" value (null: no option) and whether a file path passes the filter.
TEST(ProjectReaderTest, ExtensionFilter) {
  const std::tuple<const char*, const char*, bool> rows[] = {
      {nullptr, "Makefile", true},  {"c,CPP", "main.c", true}, {"c,CPP", "readme.txt", false},
      {"c,CPP", "Makefile", false}, {"Asz", "x.aSZ", true},    {".h", "x.h", false},
      {"h", "d.h/file", false},     {"c,", "trailing.", true}, {"c", "c", true}};
  for (const auto& [extensions, path, kept] : rows) {
    ConverterSession session("/w/p.ewp", "/d", "/iar", PathStyle::kPosix);
    if (extensions != nullptr)
      session.addExtensions(extensions);
    EXPECT_EQ(kept, session.keepsFile(path)) << (extensions ? extensions : "-") << " " << path;
  }
}

}  // namespace
}  // namespace tessmark
