#include "text_file.h"

#include <algorithm>
#include <filesystem>

#include "io_error.h"
#include "paths.h"
#include "platform/platform.h"

namespace tessmark {
namespace {

// Only a regular file (or a link to one) is read. A FIFO would hold the open until some writer
// comes, perhaps never; a device such as /dev/zero or a terminal may never end. A path holding
// a NUL byte would name a shorter path to the system than the one reported. Each of them is a
// file that cannot be opened.
bool isReadableFile(const std::string& path) {
  std::error_code error;
  return path.find('\0') == std::string::npos && std::filesystem::is_regular_file(path, error);
}

}  // namespace

bool InputFile::open(const std::string& path) {
  close();
  if (!isReadableFile(path))
    return false;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr)
    return false;
  atEnd_ = false;
  // A folder opens on some systems but cannot be read: that is a file that cannot be opened.
  if (!refill() && failed_) {
    close();
    return false;
  }
  atEnd_ = false;
  return true;
}

void InputFile::close() {
  if (file_ != nullptr)
    std::fclose(file_);
  file_ = nullptr;
  next_ = end_ = buffer_;
  bufferOffset_ = 0;
  pushedBack_ = EOF;
  atEnd_ = true;
  failed_ = false;
}

bool InputFile::refill() {
  if (file_ == nullptr || failed_)
    return false;
  bufferOffset_ += static_cast<unsigned long long>(end_ - buffer_);
  const size_t got = std::fread(buffer_, 1, sizeof(buffer_), file_);
  next_ = buffer_;
  end_ = buffer_ + got;
  if (got == 0 && std::ferror(file_))
    failed_ = true;
  return got > 0;
}

bool InputFile::readLine(std::string* line) {
  line->clear();
  int c = get();
  if (c == EOF)
    return false;
  while (c != EOF && c != '\n') {
    line->push_back(static_cast<char>(c));
    c = get();
  }
  return true;
}

// One pass over the buffer for the stop byte or a CR; a CR goes through get(), which folds a CR
// LF even when the two lie in two reads of the file.
bool InputFile::appendUntilSlowly(char stop, std::string* text) {
  if (pushedBack_ != EOF) {
    const int c = get();
    if (c == stop)
      return true;
    text->push_back(static_cast<char>(c));
  }
  for (;;) {
    if (next_ == end_ && !refill()) {
      endOfInput();
      return false;
    }
    const char* run = next_;  // a local: stores through char pointers cannot touch it
    while (run != end_ && *run != stop && *run != '\r')
      ++run;
    text->append(next_, static_cast<size_t>(run - next_));
    next_ = run;
    if (run == end_)
      continue;
    if (*run == stop) {
      next_ = run + 1;
      return true;
    }
    text->push_back(static_cast<char>(get()));
  }
}

void InputFile::readAll(std::string* text) {
  for (int c = get(); c != EOF; c = get())
    text->push_back(static_cast<char>(c));
}

// Read again from the start: counting line breaks only when a place is reported costs the reading
// of a good file nothing.
unsigned long long lineAt(const std::string& path, unsigned long long offset) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file)
    return 0;
  unsigned long long line = 1;
  char buffer[64 * 1024];
  for (unsigned long long left = offset; left > 0;) {
    const size_t wanted = left < sizeof(buffer) ? static_cast<size_t>(left) : sizeof(buffer);
    const size_t got = std::fread(buffer, 1, wanted, file.get());
    line += static_cast<unsigned long long>(std::count(buffer, buffer + got, '\n'));
    if (got < wanted)
      break;
    left -= got;
  }
  return line;
}

OutputFile::~OutputFile() {
  if (file_ != nullptr)
    std::fclose(file_);
  if (!temporaryPath_.empty())
    platform::removeFile(temporaryPath_);
}

bool OutputFile::open(const std::string& path) {
  path_ = path;
  const std::string temporary = temporaryPathOf(path);
  platform::removeFile(temporary);
  file_ = platform::createNewFile(temporary);
  if (file_ == nullptr)
    return false;
  temporaryPath_ = temporary;
  constexpr size_t kBufferSize = 64 * 1024;
  if (!buffer_)
    buffer_.reset(new char[kBufferSize]);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
  return true;
}

// A line feed inside a line's text (a name read with its line end) is written as CR LF too, as
// text mode writes it: the file never holds a bare LF that would split an entry.
void OutputFile::writeLine(const std::string& text) {
  writeExpanded(text);
  write("\r\n", 2);
}

void OutputFile::writeText(const std::string& text) {
  writeExpanded(text);
}

void OutputFile::writeExpanded(const std::string& text) {
  size_t start = 0;
  for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', start)) {
    write(text.data() + start, lf - start);
    write("\r\n", 2);
    start = lf + 1;
  }
  write(text.data() + start, text.size() - start);
}

void OutputFile::commit() {
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0 || !platform::replaceFile(temporaryPath_, path_))
    fail();
  temporaryPath_.clear();
}

void OutputFile::write(const char* data, size_t size) {
  if (size > 0 && std::fwrite(data, 1, size, file_) != size)
    fail();
}

void OutputFile::fail() const {
  throw IOERROR(IOERROR::CannotWriteFile, path_);
}

std::string temporaryPathOf(const std::string& path) {
  const bool windows = nativePathStyle() == PathStyle::kWindows;
  const size_t cut = path.find_last_of(windows ? "\\/" : "/");
  const size_t name = cut == std::string::npos ? 0 : cut + 1;
  return path.substr(0, name) + "." + path.substr(name) + ".tmp";
}

bool createEmptyFile(const std::string& path) {
  std::FILE* file = platform::createNewFile(path);
  return file != nullptr && std::fclose(file) == 0;
}

}  // namespace tessmark
