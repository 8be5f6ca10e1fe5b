#include "reading/xml_reader.h"

namespace tessmark {
namespace {

// The C locale's white space; bytes of 0x80 and above never are.
bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr size_t kKeptTokenCapacity = 64 * 1024;

// Every element name the project and option readers match; a start tag of any other name opens
// a foreign element, so a reader of a new element must add its name here. Sorted by length, for
// speed: the test runs for every start tag a match fails on.
}  // namespace

bool isProjectGrammarName(std::string_view name) {
  switch (name.size()) {
    case 3:
      return name == "mfc";
    case 4:
      return name == "data" || name == "file" || name == "name";
    case 5:
      return name == "debug" || name == "group" || name == "state";
    case 6:
      return name == "option";
    case 7:
      return name == "cmdline" || name == "hasPrio" || name == "project" || name == "version";
    case 8:
      return name == "excluded" || name == "prebuild" || name == "settings";
    case 9:
      return name == "postbuild" || name == "toolchain";
    case 10:
      return name == "extensions";
    case 11:
      return name == "fileVersion" || name == "mfc_discard";
    case 12:
      return name == "wantNonLocal";
    case 13:
      return name == "buildSequence" || name == "configuration";
    case 14:
      return name == "archiveVersion";
    default:
      return false;
  }
}

namespace {

// The element name of a start tag's text: up to its first white space or '/'.
size_t elementNameLength(std::string_view tag) {
  size_t length = 0;
  while (length < tag.size() && !isSpace(static_cast<unsigned char>(tag[length])) &&
         tag[length] != '/') {
    ++length;
  }
  return length;
}

// A tag whose name is empty (<>, < x>) opens nothing.
bool opensForeignElement(std::string_view tag, GrammarNames grammar) {
  if (grammar(tag))
    return false;  // the usual tag: a bare name, no attributes
  const std::string_view name = tag.substr(0, elementNameLength(tag));
  return !name.empty() && !grammar(name);
}

size_t skipSpace(std::string_view text, size_t at) {
  while (at < text.size() && isSpace(static_cast<unsigned char>(text[at])))
    ++at;
  return at;
}

}  // namespace

std::optional<std::string> attributeValue(std::string_view attributes, std::string_view name) {
  size_t at = skipSpace(attributes, 0);
  while (at < attributes.size()) {
    const size_t nameEnd = attributes.find_first_of("= \t\r\n", at);
    if (nameEnd == std::string_view::npos)
      return std::nullopt;
    const std::string_view found = attributes.substr(at, nameEnd - at);
    size_t quote = skipSpace(attributes, nameEnd);
    if (quote >= attributes.size() || attributes[quote] != '=')
      return std::nullopt;
    quote = skipSpace(attributes, quote + 1);
    if (quote >= attributes.size() || (attributes[quote] != '"' && attributes[quote] != '\''))
      return std::nullopt;
    const size_t close = attributes.find(attributes[quote], quote + 1);
    if (close == std::string_view::npos)
      return std::nullopt;
    if (found == name)
      return std::string(attributes.substr(quote + 1, close - quote - 1));
    at = skipSpace(attributes, close + 1);
  }
  return std::nullopt;
}

void XMLReader::open(const std::string& path) {
  kind_ = TokenKind::None;
  consumed_ = 0;
  path_ = path;
  inToken_ = dropping_ = endedEarly_ = false;
  if (!input_.open(path))
    throw XMLReaderError(XMLReaderError::CannotOpen);
}

bool XMLReader::match(TokenKind kind, std::string_view name) {
  if (kind_ == TokenKind::None)
    readToken();
  while (kind_ != kind || elementName() != name) {
    if (!dropPending())
      return false;
  }
  kind_ = kind == TokenKind::StartTag && emptyElement_ ? TokenKind::EndTag : TokenKind::None;
  ++consumed_;
  return true;
}

// Drops the pending markup or foreign element; false when the pending token is neither.
bool XMLReader::dropPending() {
  if (kind_ == TokenKind::Markup) {
    readToken();
  } else if (pendingForeign()) {
    dropForeignElement();
  } else {
    return false;
  }
  return true;
}

bool XMLReader::matchStartTag(std::string_view name, std::string* attributes) {
  if (kind_ == TokenKind::None)
    readToken();
  size_t length = 0;  // of the pending start tag's element name
  for (;;) {
    if (kind_ == TokenKind::StartTag) {
      length = elementNameLength(text_);
      if (std::string_view(text_).substr(0, length) == name)
        break;
    }
    if (!dropPending())
      return false;
  }
  const size_t end = emptyElement_ ? text_.size() - 1 : text_.size();
  attributes->assign(text_, length, end - length);
  if (emptyElement_) {
    nameLength_ = length;  // the pending end tag's name
    kind_ = TokenKind::EndTag;
  } else {
    kind_ = TokenKind::None;
  }
  ++consumed_;
  return true;
}

// Asked only when a match fails, and then once per token: most start tags are matched at the
// first try, and the name test would cost more than the rest of their reading.
bool XMLReader::pendingForeign() {
  if (kind_ != TokenKind::StartTag)
    return false;
  if (foreign_ == Foreign::kUnknown)
    foreign_ = opensForeignElement(text_, grammar_) ? Foreign::kYes : Foreign::kNo;
  return foreign_ == Foreign::kYes;
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
  dropping_ = true;
  readToken();
  while (depth != 0) {
    if (kind_ == TokenKind::StartTag && !emptyElement_) {
      ++depth;
    } else if (kind_ == TokenKind::EndTag) {
      --depth;
    }
    readToken();
  }
  dropping_ = false;
}

int XMLReader::nextByte() {
  const int c = input_.get();
  if (c == EOF)
    endOfInput();
  return c;
}

// A token cut by the end is reported where it begins; the end of white space, or of a foreign
// element, which is no token, after the last line break.
void XMLReader::endOfInput() {
  endedEarly_ = true;
  endOffset_ = inToken_ && !dropping_ ? tokenStart_ : ~0ull;
  throw XMLReaderError(XMLReaderError::EndOfInput);
}

unsigned long long XMLReader::stopLine() const {
  return lineAt(path_, endedEarly_ ? endOffset_ : tokenStart_);
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
  foreign_ = Foreign::kUnknown;
  inToken_ = false;
  if (!input_.good())
    endOfInput();
  const int c = input_.getSkipping([](int byte) { return isSpace(byte); });
  if (c == EOF)
    endOfInput();
  tokenStart_ = input_.offset() - 1;
  inToken_ = true;
  if (c != '<') {
    readCharacterData(c);
    inToken_ = false;
    return;
  }
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
    noteEmptyElement();
  }
  inToken_ = false;
}

// Character data and tag texts are copied a run of bytes at a time, not byte by byte.
void XMLReader::readCharacterData(int first) {
  text_.push_back(static_cast<char>(first));
  if (!input_.appendUntil('<', &text_))
    endOfInput();
  input_.unget('<');
  kind_ = TokenKind::Text;
}

// A start tag ending in '/' is an empty-element tag; for a grammar element blanks (not tabs or
// line breaks) may stand before the slash. A tag with attributes never names an element of the
// grammar.
void XMLReader::noteEmptyElement() {
  if (text_.empty() || text_.back() != '/')
    return;
  emptyElement_ = true;
  const size_t last = std::string_view(text_).substr(0, text_.size() - 1).find_last_not_of(' ');
  nameLength_ = last == std::string_view::npos ? 0 : last + 1;
}

void XMLReader::readUntilClose() {
  if (!input_.appendUntil('>', &text_))
    endOfInput();
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
      endOfInput();
    if (text_.size() >= start + 2 && text_.compare(text_.size() - 2, 2, "--") == 0)
      return;
    text_.push_back('>');
  }
}

}  // namespace tessmark
