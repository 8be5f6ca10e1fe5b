// A pull reader for IAR project files: cuts the input into start tags, end tags, character data
// and skipped markup, with exactly one token of look-ahead and no document tree. Names are
// compared as whole strings; attributes, entities and encodings are not interpreted.
#ifndef TESSMARK_READING_XML_READER_H_
#define TESSMARK_READING_XML_READER_H_

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

class XMLReader {
 public:
  // Ends any open file and opens path; throws CannotOpen when it cannot. No token is pending
  // afterwards.
  void open(const std::string& path);

  // Consumes the pending start tag (or end tag) when its text is exactly name; markup before it
  // is skipped. A failed match consumes nothing. Throws EndOfInput when a token is needed and
  // the input has none. An empty-element tag (<x/>, <x />) reads as <x></x>: matchStart("x")
  // consumes it and leaves its end tag pending.
  bool matchStart(std::string_view name) { return match(TokenKind::StartTag, name); }
  bool matchEnd(std::string_view name) { return match(TokenKind::EndTag, name); }

  // Character data is copied to *text and consumed; a pending end tag gives an empty *text and
  // stays pending (an empty element); a start tag or markup leaves both alone and gives false.
  bool readText(std::string* text);

  // The text of the last token read, as written: after a failed match, the token that did not
  // match ("x /" for an empty-element tag, also when only its end is left pending).
  std::string tokenText() const { return text_; }

  // How many tokens the matching operations have consumed since open: a reader that returns
  // false with this count changed broke off inside its element.
  size_t tokensConsumed() const { return consumed_; }

  // True while the input has neither failed nor been read past its end.
  bool good() const { return input_.good(); }

 private:
  bool match(TokenKind kind, std::string_view name);
  std::string_view elementName() const;
  void readToken();
  int nextByte();
  void readCharacterData(int first);
  void readUntilClose();
  void noteEmptyElement();
  void readMarkup();

  std::string text_;
  TokenKind kind_ = TokenKind::None;
  // The pending tag is an empty-element tag whose name is the first nameLength_ bytes of text_.
  bool emptyElement_ = false;
  size_t nameLength_ = 0;
  size_t consumed_ = 0;
  InputFile input_;
};

}  // namespace tessmark

#endif  // TESSMARK_READING_XML_READER_H_
