#ifndef TESSMARK_IO_ERROR_H_
#define TESSMARK_IO_ERROR_H_

#include <string>

namespace tessmark {

// Raised by the writers when a folder or file cannot be made; ends the conversion. The path is
// the folder or file concerned, exactly as the writer built it.
struct IOERROR {
  enum Code { CannotCreateDirectory = 1, CannotWriteFile = 2 };

  IOERROR(int code, std::string path) : code(code), path(std::move(path)) {}

  int code;
  std::string path;
};

}  // namespace tessmark

#endif  // TESSMARK_IO_ERROR_H_
