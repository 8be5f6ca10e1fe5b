// Memory bounds of the converter on large generated inputs: the peak resident set size of the
// child, measured by the kernel, against a multiple of the input's size. No timing is checked.
// Sanitized builds keep freed memory in quarantine and shadow every byte, so there the bounds
// mean nothing and the tests are skipped.
#include <gtest/gtest.h>

#include <fstream>

#include "e2e_runner.h"
#include "hostile_child.h"

namespace fs = std::filesystem;

namespace tessmark_test {
namespace {

constexpr long kMegabyte = 1024 * 1024;

class MemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (sanitizedBuild())
      GTEST_SKIP() << "memory bounds are measured in the plain build only";
    fs::create_directory(tmp_.path() / "out");
  }

  // Converts the project at path and returns the child's peak resident set size in bytes.
  long peakOfConverting(const fs::path& project, ChildResult* result) {
    *result = runChild(TESSMARK_BINARY, {project.string(), (tmp_.path() / "out").string(), ""},
                       tmp_.path());
    return result->maxRssKb * 1024;
  }
  fs::path path(const std::string& name) const { return tmp_.path() / name; }

  TempFolder tmp_;
};

// A project of about 50 MB: two configurations with options, 850 groups of 1000 files each.
void writeLargeProject(const fs::path& file) {
  std::ofstream out(file, std::ios::binary);
  out << "<project>\n";
  for (const char* name : {"Debug", "Release"}) {
    out << "<configuration><name>" << name << "</name><settings><name>ICCARM</name><data>"
        << "<option><name>CCDefines</name><state>" << name << "</state></option>"
        << "<option><name>CCIncludePath2</name><state>$PROJ_DIR$\\inc</state></option>"
        << "</data></settings></configuration>\n";
  }
  for (int group = 0; group < 850; ++group) {
    out << "<group><name>group" << group << "</name>\n";
    for (int file = 0; file < 1000; ++file) {
      out << "  <file><name>$PROJ_DIR$\\src\\group" << group << "\\file" << file
          << ".c</name></file>\n";
    }
    out << "</group>\n";
  }
  out << "<file><name>$PROJ_DIR$\\main.c</name></file>\n</project>\n";
}

TEST_F(MemoryTest, FiftyMegabyteProjectStaysWithinThreeTimesItsSize) {
  writeLargeProject(path("big.ewp"));
  const long size = static_cast<long>(fs::file_size(path("big.ewp")));
  ASSERT_GT(size, 45 * kMegabyte);
  ChildResult result;
  const long peak = peakOfConverting(path("big.ewp"), &result);
  ASSERT_EQ(0, result.status) << result.output.substr(0, 500);
  EXPECT_LT(peak, 3 * size) << "peak " << peak / kMegabyte << " MB for " << size / kMegabyte
                            << " MB of project";
  RecordProperty("peak_mb", std::to_string(peak / kMegabyte));
}

// One token of 100 MB: a start tag the grammar does not expect (reported with its text), or
// character data (a define's name, written to the analyser personality).
void writeWithHugeToken(const fs::path& file, const std::string& before, char filler,
                        const std::string& after) {
  std::ofstream out(file, std::ios::binary);
  out << before;
  const std::string chunk(kMegabyte, filler);
  for (int i = 0; i < 100; ++i)
    out << chunk;
  out << after;
}

TEST_F(MemoryTest, HundredMegabyteStartTagStaysWithinFourTimesItsSize) {
  writeWithHugeToken(path("tag.ewp"), "<project>\n<", 't', ">\n</project>\n");
  ChildResult result;
  const long peak = peakOfConverting(path("tag.ewp"), &result);
  ASSERT_EQ(0, result.status);
  EXPECT_EQ(0u,
            result.output.rfind("IAR Project file parsing encountered unexpected token: ttt", 0));
  EXPECT_LT(peak, 400 * kMegabyte) << "peak " << peak / kMegabyte << " MB";
  RecordProperty("peak_mb", std::to_string(peak / kMegabyte));
}

TEST_F(MemoryTest, HundredMegabyteTextTokenStaysWithinFourTimesItsSize) {
  writeWithHugeToken(path("text.ewp"),
                     "<project><configuration><name>Debug</name><settings><data><option>"
                     "<name>CCDefines</name><state>",
                     'D',
                     "</state></option></data></settings></configuration>"
                     "<group><name>src</name><file><name>main.c</name></file></group></project>\n");
  ChildResult result;
  const long peak = peakOfConverting(path("text.ewp"), &result);
  ASSERT_EQ(0, result.status) << result.output.substr(0, 500);
  EXPECT_EQ(100 * kMegabyte + 7,
            static_cast<long>(fs::file_size(tmp_.path() / "out/text/Debug/person/Debug.p_a")));
  EXPECT_LT(peak, 400 * kMegabyte) << "peak " << peak / kMegabyte << " MB";
  RecordProperty("peak_mb", std::to_string(peak / kMegabyte));
}

}  // namespace
}  // namespace tessmark_test
