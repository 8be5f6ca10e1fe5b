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

// The bulk scans the XML reader uses give exactly what get() gives byte by byte, wherever a CR,
// an LF or the stop byte falls relative to the 64 KB reads of the file.
bool isBlank(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool appendUntilByGet(InputFile& in, char stop, std::string* text) {
  for (int c = in.get(); c != EOF; c = in.get()) {
    if (c == stop)
      return true;
    text->push_back(static_cast<char>(c));
  }
  return false;
}

int getSkippingByGet(InputFile& in) {
  int c = in.get();
  while (c != EOF && isBlank(c))
    c = in.get();
  return c;
}

// Cuts the file as the XML reader does: blanks skipped, then either a tag up to '>' or text up
// to '<', that '<' being put back for the next round.
std::vector<std::string> scan(const std::string& file, bool bulk) {
  InputFile in;
  EXPECT_TRUE(in.open(file));
  std::vector<std::string> pieces;
  for (;;) {
    const int c = bulk ? in.getSkipping(isBlank) : getSkippingByGet(in);
    pieces.push_back(std::to_string(c));
    if (c == EOF)
      return pieces;
    const char stop = c == '<' ? '>' : '<';
    std::string text;
    const bool found = bulk ? in.appendUntil(stop, &text) : appendUntilByGet(in, stop, &text);
    pieces.push_back(text + (found ? "|stop" : "|end"));
    if (!found)
      return pieces;
    if (stop == '<')
      in.unget('<');
  }
}

TEST_F(TextFileTest, BulkScansAgreeWithGetAcrossReads) {
  for (size_t at = 64 * 1024 - 3; at <= 64 * 1024 + 1; ++at) {
    for (const char* tail :
         {"\r\n<x\r\n>", "\r<\r>", "\r\r\n \t<a", "<\r\n  \r\r\n>y\r", " \r\n\r\n<\r>\r\n", "\r"}) {
      const std::string bytes =
          "\r\n <a\rb\r\n>" + std::string(at - 10, 'x') + tail + " \r\n\t<b>c";
      writeBytes(path("in"), bytes);
      const std::vector<std::string> byGet = scan(path("in"), false);
      EXPECT_EQ(byGet, scan(path("in"), true)) << "tail " << tail << " at " << at;
      EXPECT_GT(byGet.size(), 4u);
    }
  }
}

TEST_F(TextFileTest, AppendUntilFoldsCrLfAndKeepsALoneCr) {
  writeBytes(path("in"), "a\r\nb\rc\r<d");
  InputFile in;
  ASSERT_TRUE(in.open(path("in")));
  std::string text;
  EXPECT_TRUE(in.appendUntil('<', &text));
  EXPECT_EQ("a\nb\rc\r", text);
  text.clear();
  EXPECT_FALSE(in.appendUntil('<', &text));
  EXPECT_EQ("d", text);
  EXPECT_FALSE(in.good());
}

TEST_F(TextFileTest, BufferedLinesReachTheDiskOnFlushAndWhenTheWriterIsDropped) {
  {
    OutputFile out;
    ASSERT_TRUE(out.open(path("out"), OutputFile::Flushing::kWhenAsked));
    out.writeLine("one");
    out.flush();
    EXPECT_EQ("one\r\n", readBytes(path("out")));
    out.writeText("two\n");
    // Dropped without close, as when an error leaves the writer.
  }
  EXPECT_EQ("one\r\ntwo\r\n", readBytes(path("out")));
}

TEST_F(TextFileTest, BufferedWriteFailuresRaiseOnCloseAtTheLatest) {
  OutputFile out;
  if (!out.open("/dev/full", OutputFile::Flushing::kWhenAsked))
    GTEST_SKIP() << "no /dev/full here";
  out.writeLine("x");
  EXPECT_THROW(out.close(), IOERROR);
}

}  // namespace
}  // namespace tessmark
