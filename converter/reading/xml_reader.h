// A pull reader for IAR project files: cuts the input into start tags, end tags, character data
// and skipped markup, with exactly one token of look-ahead and no document tree. Names are
// compared as whole strings; attributes, entities and encodings are not interpreted.
//
// Elements the project grammar does not read (each IAR release and vendor tool adds some) are
// foreign: the matching operations drop a foreign element whole, with all it holds, before they
// look at the token after it, so no element reader ever sees one.
#ifndef TESSMARK_READING_XML_READER_H_
#define TESSMARK_READING_XML_READER_H_

#include <optional>
#include <string>
#include <string_view>

#include "text_file.h"

namespace tessmark {

// Thrown by the reader; carries only its code.
class XMLReaderError {
 public:
  enum Code { EndOfInput = 1, CannotOpen = 2 };
  explicit XMLReaderError(int code) : code(code) {}
  int code;
};

enum class TokenKind { None = 0, StartTag = 1, EndTag = 2, Text = 3, Markup = 4 };

// Whether an element name is one a document's readers match; start tags of any other name open
// foreign elements.
using GrammarNames = bool (*)(std::string_view name);

// The element names of the project grammar.
bool isProjectGrammarName(std::string_view name);

// The value of the attribute name in the attribute text of a start tag (name="value" or
// name='value', blanks and line breaks around '=' allowed); nullopt when it is not there.
std::optional<std::string> attributeValue(std::string_view attributes, std::string_view name);

class XMLReader {
 public:
  explicit XMLReader(GrammarNames grammar = isProjectGrammarName) : grammar_(grammar) {}

  // Ends any open file and opens path; throws CannotOpen when it cannot. No token is pending
  // afterwards.
  void open(const std::string& path);

  // Consumes the pending start tag (or end tag) when its text is exactly name; markup and
  // foreign elements before it are dropped first. A failed match consumes nothing else. Throws
  // EndOfInput when a token is needed and the input has none, also inside a foreign element. An
  // empty-element tag of the grammar (<x/>, <x />) reads as <x></x>: matchStart("x") consumes
  // it and leaves its end tag pending.
  bool matchStart(std::string_view name) { return match(TokenKind::StartTag, name); }
  bool matchEnd(std::string_view name) { return match(TokenKind::EndTag, name); }

  // matchStart for a start tag that may hold attributes: its element name (the text up to the
  // first white space or '/') is name; *attributes gets the rest of the tag. An empty-element
  // tag (<x a="1"/>) leaves its end tag pending, as matchStart does.
  bool matchStartTag(std::string_view name, std::string* attributes);

  // Character data is copied to *text and consumed; a pending end tag gives an empty *text and
  // stays pending (an empty element); a start tag or markup leaves both alone and gives false.
  // Nothing is dropped: a foreign element where text is due is a start tag like any other.
  bool readText(std::string* text);

  // The text of the last token read, as written: after a failed match, the token that did not
  // match ("x /" for an empty-element tag, also when only its end is left pending).
  std::string tokenText() const { return text_; }

  // How many tokens the matching operations have consumed since open, dropped ones not counted:
  // a reader that returns false with this count changed broke off inside its element.
  size_t tokensConsumed() const { return consumed_; }

  // True while the input has neither failed nor been read past its end.
  bool good() const { return input_.good(); }

  // Where reading stopped, as a line of the open file counted from 1: after a failed match, the
  // line where the pending token begins; after EndOfInput, the line where the token cut by the
  // end begins, or the line after the last line break when only white space was left or a
  // foreign element was being dropped (no token). 0 when the file cannot be read again.
  unsigned long long stopLine() const;

 private:
  bool match(TokenKind kind, std::string_view name);
  bool dropPending();
  std::string_view elementName() const;
  void readToken();
  bool pendingForeign();
  void dropForeignElement();
  int nextByte();
  [[noreturn]] void endOfInput();
  void readCharacterData(int first);
  void readUntilClose();
  void noteEmptyElement();
  void readMarkup(int first);
  void readComment();

  GrammarNames grammar_;
  std::string text_;
  TokenKind kind_ = TokenKind::None;
  // The pending tag is an empty-element tag whose name is the first nameLength_ bytes of text_.
  bool emptyElement_ = false;
  size_t nameLength_ = 0;
  // Whether the pending start tag opens an element the grammar does not read, once asked.
  enum class Foreign { kUnknown, kYes, kNo };
  Foreign foreign_ = Foreign::kUnknown;
  size_t consumed_ = 0;
  std::string path_;                   // of the open file
  unsigned long long tokenStart_ = 0;  // offset of the first byte of the last token read
  bool inToken_ = false;               // between a token's first byte and its end
  bool dropping_ = false;              // inside a foreign element being dropped
  bool endedEarly_ = false;            // EndOfInput was thrown and not yet cleared by open
  unsigned long long endOffset_ = 0;   // what stopLine counts up to after EndOfInput
  InputFile input_;
};

}  // namespace tessmark

#endif  // TESSMARK_READING_XML_READER_H_
