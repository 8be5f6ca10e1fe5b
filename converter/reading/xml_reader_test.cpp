#include "reading/xml_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

namespace tessmark {
namespace {

// One step on the reader: "<x" matchStart(x), "/x" matchEnd(x), "=x" readText giving x, "?x"
// tokenText() is x, "#" a token request that ends the input. A leading '!' expects false.
bool perform(XMLReader& reader, char operation, const std::string& argument) {
  std::string text;
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
      {"<n></n><n> \t\n\v\f\r </n>", {"<n", "=", "/n", "<n", "=", "/n"}},
      {"<s>a\r\nb\rc\r\n</s>", {"<s", "=a\nb\rc\n"}},
      {"<n>a< b>", {"<n", "=a", "!<b", "? b"}},
      {"<data/><data  /><x\t/>",
       {"!<data/", "<data", "!<data", "?data/", "/data", "<data", "/data", "!<x", "?x\t/", "<x\t",
        "/x\t"}},
      {"<n a=\"1\"></n >", {"!<n", "?n a=\"1\"", "<n a=\"1\"", "=", "!/n", "?n ", "/n "}},
      {"<>", {"<"}},
      {"<?xml version=\"1.0\"?>\n<!-- c --><a><!-- d --></a><b><!-- e -->x</b>",
       {"<a", "/a", "<b", "!=", "!/x", "=x", "/b"}},
      {"<a><!-- x > y --></a>", {"<a", "!/a", "?y -->"}},
      {"<!x <y <z>> w><!x [ <a> [ ] > ] ><&c><p>", {"<p"}},
      {"\xEF\xBB\xBF<project>", {"!<project", "?\xEF\xBB\xBF"}},
      {"<a>", {"!/a", "!<b", "<a", "#"}},
      {"text", {"#"}},
      {"<", {"#"}},
      {"<a", {"#"}},
      {"<!-- x", {"#"}},
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

}  // namespace
}  // namespace tessmark
