#include "text_file.h"

#include <gtest/gtest.h>

#include "io_error.h"

namespace tessmark {
namespace {

// A full device takes the bytes into the stream's buffer and refuses them when they are
// flushed: the failure is raised there, with the file's path, whether lines are flushed one by
// one or when asked.
TEST(TextFileTest, FlushFailuresRaiseWithThePath) {
  for (const auto flushing : {OutputFile::Flushing::kEachLine, OutputFile::Flushing::kWhenAsked}) {
    OutputFile out;
    if (!out.open("/dev/full", flushing))
      GTEST_SKIP() << "no /dev/full here";
    try {
      out.writeText("x");
      out.flush();
      ADD_FAILURE() << "a flush to a full device succeeded";
    } catch (const IOERROR& error) {
      EXPECT_EQ("/dev/full", error.path);
    }
  }
}

}  // namespace
}  // namespace tessmark
