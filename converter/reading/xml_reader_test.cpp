#include "reading/xml_reader.h"

#include "text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <tuple>

namespace tessmark {
namespace {

// One step on the reader: "<x" matchStart(x), "/x" matchEnd(x), "=x" readText giving x, "?x"
// tokenText() is x, "@x a" matchStartTag(x) giving the attributes " a", "Ln" stopLine() is n,
// "#" a token request that ends the input. A leading '!' expects false.
bool perform(XMLReader& reader, char operation, const std::string& argument) {
  std::string text;
  if (operation == '@') {
    const size_t blank = std::min(argument.find_first_of(" \n"), argument.size());
    return reader.matchStartTag(argument.substr(0, blank), &text) && text == argument.substr(blank);
  }
  if (operation == 'L')
    return reader.stopLine() == std::stoull(argument);
  if (operation != '#') {
    return operation == '<'   ? reader.matchStart(argument)
           : operation == '/' ? reader.matchEnd(argument)
           : operation == '?' ? reader.tokenText() == argument
                              : reader.readText(&text) && text == argument;
  }
  try {
    reader.matchStart("#");
  } catch (const XMLReaderError& error) {
    return error.code == XMLReaderError::EndOfInput;
  }
  return false;
}

TEST(XMLReaderTest, TokenRules) {
  const struct {
    const char* input;
    std::vector<std::string> steps;
  } rows[] = {
      {"<name>  Debug  </name>", {"<name", "=Debug  ", "/name", "#"}},
      {"<name></name><name> \t\n\v\f\r </name>", {"<name", "=", "/name", "<name", "=", "/name"}},
      {"<state>a\r\nb\rc\r\n</state>", {"<state", "=a\nb\rc\n"}},
      {"<name>a< b>", {"<name", "=a", "!<b", "? b"}},
      {"<data/><data  /><file\t/>",
       {"!<data/", "<data", "!<data", "?data/", "/data", "<data", "/data", "!<file", "?file\t/",
        "<file\t", "/file\t"}},
      {"<name a=\"1\"></name >",
       {"!<name", "?name a=\"1\"", "<name a=\"1\"", "=", "!/name", "?name ", "/name "}},
      {"<file kind=\"x\"/>", {"!<file", "?file kind=\"x\"/"}},
      {"<>< x>", {"<", "!<x", "? x"}},
      // Markup and comments are skipped; a comment runs to its "-->".
      {"<?xml version=\"1.0\"?>\n<!-- c --><data><!-- d --></data><name><!-- e -->x</name>",
       {"<data", "/data", "<name", "!=", "!/x", "=x", "/name"}},
      {"<data><!-- x > y -- z ---></data><!--><state>--><!---><name>--><!---->",
       {"<data", "/data", "#"}},
      {"<!- > y<data>", {"!<data", "?y"}},
      {"<!x <y <z>> w><!x [ <a> [ ] > ] ><&c><data>", {"<data"}},
      {"<!-- x > y", {"#"}},
      // Foreign elements go whole, with whatever they hold; the end tag that closes one may have
      // any name. Text is never dropped.
      {"<data><x/><x /><x a=\"1\"/><x\t/></data>", {"<data", "/data"}},
      {"<data><a><b><option/></b><c/><file>f</file></z><d></d><option>",
       {"<data", "!/data", "?option", "<option"}},
      {"<name><x>t</x></name><x>", {"<name", "!=", "?x", "/name", "#"}},
      {"<state>1</state>BOARD<x>", {"<state", "=1", "/state", "!<state", "?BOARD"}},
      {"\xEF\xBB\xBF<project>", {"!<project", "?\xEF\xBB\xBF"}},
      {"<name>", {"!/name", "!<file", "<name", "#"}},
      {"text", {"#"}},
      {"<", {"#"}},
      {"<name", {"#"}},
      {"<!-- x", {"#"}},
      // Start tags with attributes, matched by their element name.
      {"<file kind=\"a/b\">x</file><group\n name = 'g'/><group><option a=\"1\"/>",
       {"!<file", "!@fil", "@file kind=\"a/b\"", "=x", "/file", "@group\n name = 'g'", "/group",
        "@group", "@option a=\"1\"", "/option", "#"}},
      // Where reading stopped: the pending token, the token cut by the end, or after the last
      // line break when only white space or a foreign element was left.
      {"<data>\n\n  <option>", {"<data", "!/data", "L3"}},
      {"<data>\r\n<name>a\r\nb", {"<data", "<name", "#", "L2"}},
      {"<data>\n<!-- x\n\n", {"<data", "#", "L2"}},
      {"<data>\n\n\n  ", {"<data", "#", "L4"}},
      {"<data>\n<x>\n<option>\n<y", {"<data", "#", "L4"}},
  };
  const std::string path =
      testing::TempDir() + "tessmark_tokens_" + std::to_string(std::random_device()());
  XMLReader reader;
  for (const auto& row : rows) {
    std::ofstream(path, std::ios::binary) << row.input;
    reader.open(path);
    for (const std::string& step : row.steps) {
      const bool fails = step[0] == '!';
      EXPECT_EQ(!fails, perform(reader, step[fails], step.substr(fails + 1)))
          << row.input << " at " << step;
    }
  }
  std::remove(path.c_str());
}

// A byte put back comes first in a copied run, as it would from get(); a put-back stop byte
// ends the run at once.
TEST(XMLReaderTest, AttributeValues) {
  const std::tuple<const char*, const char*, std::optional<std::string>> rows[] = {
      {" name=\"A/B\" build=\"true\"", "build", "true"},
      {" active=\"true\" name=\"sdk\"", "name", "sdk"},
      {"\n name ='' x", "name", ""},
      {" names=\"x\"", "name", std::nullopt},
      {" name=x", "name", std::nullopt},
      {" name=\"open", "name", std::nullopt},
      {"", "name", std::nullopt}};
  for (const auto& [attributes, name, value] : rows)
    EXPECT_EQ(value, attributeValue(attributes, name)) << attributes;
}

TEST(InputFileTest, AppendUntilTakesThePutBackByteFirst) {
  const std::string path =
      testing::TempDir() + "tessmark_input_" + std::to_string(std::random_device()());
  std::ofstream(path, std::ios::binary) << "ab\r\nc>d";
  InputFile input;
  ASSERT_TRUE(input.open(path));
  input.unget(input.get());
  std::string run, empty, rest;
  EXPECT_TRUE(input.appendUntil('>', &run));
  input.unget('>');
  EXPECT_TRUE(input.appendUntil('>', &empty));
  EXPECT_FALSE(input.appendUntil('>', &rest));
  EXPECT_EQ("ab\nc||d", run + "|" + empty + "|" + rest);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tessmark
