#include "reading/xml_reader.h"

#include <algorithm>
#include <array>

namespace tessmark {
namespace {

// The C locale's white space; bytes of 0x80 and above never are.
bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr size_t kKeptTokenCapacity = 64 * 1024;

// Every element name the project and option readers match, sorted. A start tag of any other
// name opens a foreign element; a reader of a new element must add its name here.
constexpr std::array<std::string_view, 24> kGrammarNames = {
    "archiveVersion", "buildSequence", "cmdline",    "configuration", "data",
    "debug",          "excluded",      "extensions", "file",          "fileVersion",
    "group",          "hasPrio",       "mfc",        "mfc_discard",   "name",
    "option",         "postbuild",     "prebuild",   "project",       "settings",
    "state",          "toolchain",     "version",    "wantNonLocal",
};

constexpr bool grammarNamesSorted() {
  for (size_t i = 1; i < kGrammarNames.size(); ++i) {
    if (!(kGrammarNames[i - 1] < kGrammarNames[i]))
      return false;
  }
  return true;
}
static_assert(grammarNamesSorted(), "opensForeignElement searches the names by halves");

// The element name of a start tag's text: up to its first white space or '/'. A tag whose name
// is empty (<>, < x>) opens nothing.
bool opensForeignElement(std::string_view tag) {
  size_t length = 0;
  while (length < tag.size() && !isSpace(static_cast<unsigned char>(tag[length])) &&
         tag[length] != '/') {
    ++length;
  }
  const std::string_view name = tag.substr(0, length);
  return !name.empty() && !std::binary_search(kGrammarNames.begin(), kGrammarNames.end(), name);
}

}  // namespace

void XMLReader::open(const std::string& path) {
  kind_ = TokenKind::None;
  consumed_ = 0;
  if (!input_.open(path))
    throw XMLReaderError(XMLReaderError::CannotOpen);
}

bool XMLReader::match(TokenKind kind, std::string_view name) {
  if (kind_ == TokenKind::None)
    readToken();
  while (kind_ == TokenKind::Markup || foreign_) {
    if (foreign_) {
      dropForeignElement();
    } else {
      readToken();
    }
  }
  if (kind_ != kind || elementName() != name)
    return false;
  kind_ = kind == TokenKind::StartTag && emptyElement_ ? TokenKind::EndTag : TokenKind::None;
  ++consumed_;
  return true;
}

std::string_view XMLReader::elementName() const {
  return emptyElement_ ? std::string_view(text_).substr(0, nameLength_) : std::string_view(text_);
}

bool XMLReader::readText(std::string* text) {
  if (kind_ == TokenKind::None)
    readToken();
  if (kind_ == TokenKind::Text) {
    *text = text_;
    kind_ = TokenKind::None;
    ++consumed_;
    return true;
  }
  if (kind_ == TokenKind::EndTag) {
    text->clear();
    return true;
  }
  return false;
}

// Reads past the pending foreign start tag and, unless it is an empty-element tag, everything up
// to the end tag that closes it, whatever that end tag's name; start and end tags in between are
// counted, empty-element tags are not. The token after it is left pending. A loop, not
// recursion: nesting costs no stack.
void XMLReader::dropForeignElement() {
  size_t depth = emptyElement_ ? 0 : 1;
  readToken();
  while (depth != 0) {
    if (kind_ == TokenKind::StartTag && !emptyElement_) {
      ++depth;
    } else if (kind_ == TokenKind::EndTag) {
      --depth;
    }
    readToken();
  }
}

int XMLReader::nextByte() {
  const int c = input_.get();
  if (c == EOF)
    throw XMLReaderError(XMLReaderError::EndOfInput);
  return c;
}

void XMLReader::readToken() {
  // A token of megabytes leaves its capacity behind: give it back instead of holding it for the
  // rest of the run, so one huge token costs its size only while it is in use.
  if (text_.capacity() > kKeptTokenCapacity) {
    std::string().swap(text_);
  } else {
    text_.clear();
  }
  kind_ = TokenKind::None;
  emptyElement_ = false;
  foreign_ = false;
  if (!input_.good())
    throw XMLReaderError(XMLReaderError::EndOfInput);
  const int c = input_.getSkipping([](int byte) { return isSpace(byte); });
  if (c == EOF)
    throw XMLReaderError(XMLReaderError::EndOfInput);
  if (c != '<')
    return readCharacterData(c);
  const int d = nextByte();
  if (d == '/') {
    readUntilClose();
    kind_ = TokenKind::EndTag;
  } else if (d == '!' || d == '&' || d == '?') {
    readMarkup(d);
    kind_ = TokenKind::Markup;
  } else {
    if (d != '>') {
      text_.push_back(static_cast<char>(d));
      readUntilClose();
    }
    kind_ = TokenKind::StartTag;
    noteStartTag();
  }
}

// Character data and tag texts are copied a run of bytes at a time, not byte by byte.
void XMLReader::readCharacterData(int first) {
  text_.push_back(static_cast<char>(first));
  if (!input_.appendUntil('<', &text_))
    throw XMLReaderError(XMLReaderError::EndOfInput);
  input_.unget('<');
  kind_ = TokenKind::Text;
}

// A start tag ending in '/' is an empty-element tag; for a grammar element blanks (not tabs or
// line breaks) may stand before the slash. A tag with attributes never names an element of the
// grammar.
void XMLReader::noteStartTag() {
  foreign_ = opensForeignElement(text_);
  if (text_.empty() || text_.back() != '/')
    return;
  emptyElement_ = true;
  const size_t last = std::string_view(text_).substr(0, text_.size() - 1).find_last_not_of(' ');
  nameLength_ = last == std::string_view::npos ? 0 : last + 1;
}

void XMLReader::readUntilClose() {
  if (!input_.appendUntil('>', &text_))
    throw XMLReaderError(XMLReaderError::EndOfInput);
}

// A comment ends at its "-->". Other markup ends at the first '>' outside nested angle brackets
// and square brackets, so a document type declaration with an internal subset is one token.
void XMLReader::readMarkup(int first) {
  int c = nextByte();
  if (first == '!' && c == '-') {
    text_.push_back('-');
    c = nextByte();
    if (c == '-')
      return readComment();
  }
  int angleDepth = 0;
  int bracketDepth = 0;
  for (;; c = nextByte()) {
    if (c == '>' && angleDepth == 0) {
      if (bracketDepth == 0)
        return;
    } else if (bracketDepth != 0) {
      if (c == '[')
        ++bracketDepth;
      if (c == ']')
        --bracketDepth;
    } else {
      if (c == '<')
        ++angleDepth;
      if (c == '>')
        --angleDepth;
      if (c == '[')
        ++bracketDepth;
      if (c == ']')
        --bracketDepth;
    }
    text_.push_back(static_cast<char>(c));
  }
}

// After "<!--": the comment runs to the first "-->" whose dashes are not those of its opening,
// so '>' and "--" inside it are part of it, and "<!-->" does not close itself.
void XMLReader::readComment() {
  text_.push_back('-');
  const size_t start = text_.size();
  for (;;) {
    if (!input_.appendUntil('>', &text_))
      throw XMLReaderError(XMLReaderError::EndOfInput);
    if (text_.size() >= start + 2 && text_.compare(text_.size() - 2, 2, "--") == 0)
      return;
    text_.push_back('>');
  }
}

}  // namespace tessmark
