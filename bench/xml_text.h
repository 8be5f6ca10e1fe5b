// Builds the text of an XML file line by line, indented the way IAR Embedded Workbench saves its
// files: one element per line, leaf elements on one line.
#ifndef TESSMARK_BENCH_XML_TEXT_H_
#define TESSMARK_BENCH_XML_TEXT_H_

#include <string>

namespace tessmark_bench {

class XmlText {
 public:
  // indentUnit: the text one nesting level adds; lineEnd: "\r\n" or "\n".
  XmlText(std::string indentUnit, std::string lineEnd)
      : unit_(std::move(indentUnit)), lineEnd_(std::move(lineEnd)) {}

  void line(const std::string& text) {
    for (int i = 0; i < depth_; ++i)
      text_ += unit_;
    text_ += text;
    text_ += lineEnd_;
  }
  void blankLine() { text_ += lineEnd_; }
  void open(const std::string& tag) {
    line("<" + tag + ">");
    ++depth_;
  }
  void close(const std::string& tag) {
    --depth_;
    line("</" + tag + ">");
  }
  void leaf(const std::string& tag, const std::string& content) {
    line("<" + tag + ">" + content + "</" + tag + ">");
  }

  const std::string& text() const { return text_; }

 private:
  std::string unit_;
  std::string lineEnd_;
  std::string text_;
  int depth_ = 0;
};

}  // namespace tessmark_bench

#endif  // TESSMARK_BENCH_XML_TEXT_H_
