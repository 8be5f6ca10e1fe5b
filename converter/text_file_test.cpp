#include "text_file.h"

#include <gtest/gtest.h>

#include "e2e_runner.h"
#include "io_error.h"

namespace tessmark {
namespace {

using tessmark_test::readBytes;
using tessmark_test::TempFolder;
using tessmark_test::writeBytes;

class TextFileTest : public ::testing::Test {
 protected:
  std::string path(const char* name) const { return (tmp_.path() / name).string(); }
  std::string readThrough(const std::string& bytes) {
    writeBytes(path("in"), bytes);
    InputFile in;
    EXPECT_TRUE(in.open(path("in")));
    std::string text;
    in.readAll(&text);
    EXPECT_FALSE(in.good());
    return text;
  }

  TempFolder tmp_;
};

TEST_F(TextFileTest, OnlyCrBeforeLfIsDropped) {
  EXPECT_EQ("a\nb\rc\r\r\nd\r", readThrough("a\r\nb\rc\r\r\r\nd\r"));
}

TEST_F(TextFileTest, CrLfSplitAcrossTheBufferIsFolded) {
  const std::string head(64 * 1024 - 1, 'x');
  EXPECT_EQ(head + "\nz", readThrough(head + "\r\nz"));
}

TEST_F(TextFileTest, LinesWithAndWithoutFinalLf) {
  writeBytes(path("in"), "one\r\n\r\ntwo");
  InputFile in;
  ASSERT_TRUE(in.open(path("in")));
  std::string line;
  std::vector<std::string> lines;
  while (in.readLine(&line))
    lines.push_back(line);
  EXPECT_EQ((std::vector<std::string>{"one", "", "two"}), lines);
}

TEST_F(TextFileTest, FoldersAndMissingFilesDoNotOpen) {
  InputFile in;
  EXPECT_FALSE(in.open(tmp_.path().string()));
  EXPECT_FALSE(in.open(path("missing")));
  EXPECT_FALSE(in.good());
}

TEST_F(TextFileTest, WritesCrLfLineEnds) {
  OutputFile out;
  ASSERT_TRUE(out.open(path("out")));
  out.writeLine("first");
  out.writeText("a\nb\r\nc");
  out.writeLine("");
  out.close();
  EXPECT_EQ("first\r\na\r\nb\r\r\nc\r\n", readBytes(path("out")));
}

TEST_F(TextFileTest, LinesAreOnDiskBeforeClose) {
  OutputFile out;
  ASSERT_TRUE(out.open(path("out")));
  out.writeLine("VersionTag45");
  EXPECT_EQ("VersionTag45\r\n", readBytes(path("out")));
}

TEST_F(TextFileTest, WriteFailuresRaiseWithThePath) {
  OutputFile out;
  if (!out.open("/dev/full"))
    GTEST_SKIP() << "no /dev/full here";
  try {
    out.writeLine("x");
    FAIL() << "a write to a full device succeeded";
  } catch (const IOERROR& error) {
    EXPECT_EQ(IOERROR::CannotWriteFile, error.code);
    EXPECT_EQ("/dev/full", error.path);
  }
}

}  // namespace
}  // namespace tessmark
