#include "reading/xml_reader.h"

#include <gtest/gtest.h>

#include <functional>

#include "e2e_runner.h"

namespace tessmark {
namespace {

using tessmark_test::TempFolder;
using tessmark_test::writeBytes;

class XMLReaderTest : public ::testing::Test {
 protected:
  void open(const std::string& content) {
    const std::string path = (tmp_.path() / "p.ewp").string();
    writeBytes(path, content);
    reader_.open(path);
  }
  std::string text() {
    std::string t = "unchanged";
    EXPECT_TRUE(reader_.readText(&t));
    return t;
  }
  int errorCode(const std::function<void()>& action) {
    try {
      action();
    } catch (const XMLReaderError& error) {
      return error.code;
    }
    return 0;
  }

  TempFolder tmp_;
  XMLReader reader_;
};

TEST_F(XMLReaderTest, TextKeepsTrailingBlanksOnly) {
  open("<name>  Debug  </name>");
  ASSERT_TRUE(reader_.matchStart("name"));
  EXPECT_EQ("Debug  ", text());
  EXPECT_TRUE(reader_.matchEnd("name"));
}

TEST_F(XMLReaderTest, EmptyAndBlankContentGiveEmptyText) {
  open("<name></name><name> \r\n\t </name>");
  ASSERT_TRUE(reader_.matchStart("name"));
  EXPECT_EQ("", text());
  EXPECT_TRUE(reader_.matchEnd("name"));
  ASSERT_TRUE(reader_.matchStart("name"));
  EXPECT_EQ("", text());
  EXPECT_TRUE(reader_.matchEnd("name"));
}

TEST_F(XMLReaderTest, CrLfInsideTextIsReadAsLf) {
  open("<state>a\r\nb\rc\r\n</state>");
  ASSERT_TRUE(reader_.matchStart("state"));
  EXPECT_EQ("a\nb\rc\n", text());
}

TEST_F(XMLReaderTest, TagTextIsTakenWhole) {
  open("<data/><data  /><x\t/><name attr=\"1\"></name >");
  EXPECT_FALSE(reader_.matchStart("data/"));
  EXPECT_TRUE(reader_.matchStart("data"));
  EXPECT_FALSE(reader_.matchStart("data"));
  EXPECT_EQ("data/", reader_.tokenText());
  EXPECT_TRUE(reader_.matchEnd("data"));
  EXPECT_TRUE(reader_.matchStart("data") && reader_.matchEnd("data"));
  EXPECT_FALSE(reader_.matchStart("x"));
  EXPECT_EQ("x\t/", reader_.tokenText());
  EXPECT_TRUE(reader_.matchStart("x\t") && reader_.matchEnd("x\t"));
  EXPECT_FALSE(reader_.matchStart("name"));
  EXPECT_EQ("name attr=\"1\"", reader_.tokenText());
  EXPECT_TRUE(reader_.matchStart("name attr=\"1\""));
  std::string t = "kept";
  EXPECT_TRUE(reader_.readText(&t));
  EXPECT_EQ("", t);
  EXPECT_FALSE(reader_.matchEnd("name"));
  EXPECT_TRUE(reader_.matchEnd("name "));
}

TEST_F(XMLReaderTest, EmptyStartTag) {
  open("<>");
  EXPECT_TRUE(reader_.matchStart(""));
}

TEST_F(XMLReaderTest, MarkupIsSkippedByMatchesButStopsReadText) {
  open("<?xml version=\"1.0\"?>\n<!-- c --><a><!-- d --></a><b><!-- e --></b>");
  EXPECT_TRUE(reader_.matchStart("a"));
  EXPECT_TRUE(reader_.matchEnd("a"));
  EXPECT_TRUE(reader_.matchStart("b"));
  std::string t = "kept";
  EXPECT_FALSE(reader_.readText(&t));
  EXPECT_EQ("kept", t);
  EXPECT_EQ("-- e --", reader_.tokenText());
  EXPECT_TRUE(reader_.matchEnd("b"));
}

TEST_F(XMLReaderTest, CommentEndsAtFirstUnnestedAngle) {
  open("<a><!-- x > y --></a>");
  ASSERT_TRUE(reader_.matchStart("a"));
  EXPECT_FALSE(reader_.matchEnd("a"));
  EXPECT_EQ("y -->", reader_.tokenText());
}

TEST_F(XMLReaderTest, DoctypeWithInternalSubsetIsOneToken) {
  open("<!DOCTYPE p [ <!ELEMENT p (#PCDATA)> <!ATTLIST p a CDATA \"x\"> ]><p></p>");
  EXPECT_TRUE(reader_.matchStart("p"));
  EXPECT_TRUE(reader_.matchEnd("p"));
}

TEST_F(XMLReaderTest, NestedAnglesInMarkup) {
  open("<!x <y <z>> w><p>");
  EXPECT_TRUE(reader_.matchStart("p"));
}

TEST_F(XMLReaderTest, EntitiesStayAsWritten) {
  open("<n>a &amp; b</n>");
  ASSERT_TRUE(reader_.matchStart("n"));
  EXPECT_EQ("a &amp; b", text());
}

TEST_F(XMLReaderTest, BytesBeforeTheRootAreText) {
  open("\xEF\xBB\xBF<project>");
  EXPECT_FALSE(reader_.matchStart("project"));
  EXPECT_EQ("\xEF\xBB\xBF", reader_.tokenText());
}

TEST_F(XMLReaderTest, NonAsciiBytesAreNotWhiteSpace) {
  open("<n>\xA0x</n>");
  ASSERT_TRUE(reader_.matchStart("n"));
  EXPECT_EQ("\xA0x", text());
}

TEST_F(XMLReaderTest, FailedMatchConsumesNothing) {
  open("<a>");
  EXPECT_FALSE(reader_.matchEnd("a"));
  EXPECT_FALSE(reader_.matchStart("b"));
  EXPECT_TRUE(reader_.matchStart("a"));
}

TEST_F(XMLReaderTest, EndOfInputWhereverATokenIsNeeded) {
  const char* inputs[] = {"", "   \r\n ", "<a", "</a", "<!-- x", "text", "<", "<a>"};
  for (const char* input : inputs) {
    open(input);
    const int code = errorCode([&] {
      reader_.matchStart("a");
      reader_.matchStart("b");
    });
    EXPECT_EQ(XMLReaderError::EndOfInput, code) << "input: " << input;
  }
}

TEST_F(XMLReaderTest, RootEndAtEndOfFileReadsUntilMoreIsAsked) {
  open("<p></p>");
  EXPECT_TRUE(reader_.matchStart("p"));
  EXPECT_TRUE(reader_.matchEnd("p"));
  EXPECT_TRUE(reader_.good());
  EXPECT_EQ(XMLReaderError::EndOfInput, errorCode([&] { reader_.matchStart("q"); }));
}

TEST_F(XMLReaderTest, OpenFailuresAndReopening) {
  EXPECT_EQ(XMLReaderError::CannotOpen,
            errorCode([&] { reader_.open((tmp_.path() / "missing.ewp").string()); }));
  EXPECT_EQ(XMLReaderError::CannotOpen, errorCode([&] { reader_.open(tmp_.path().string()); }));
  open("<a>");
  EXPECT_FALSE(reader_.matchStart("b"));
  open("<b>");  // the pending token of the earlier file is gone
  EXPECT_TRUE(reader_.matchStart("b"));
}

TEST_F(XMLReaderTest, TokensAcrossBufferBoundaries) {
  const std::string big(200000, 'x');
  open("<n>" + big + "\r\n</n><" + big + ">");
  ASSERT_TRUE(reader_.matchStart("n"));
  EXPECT_EQ(big + "\n", text());
  EXPECT_TRUE(reader_.matchEnd("n"));
  EXPECT_TRUE(reader_.matchStart(big));
}

}  // namespace
}  // namespace tessmark
