// Text files as the converter reads and writes them, the same on every platform: a CR directly
// before an LF is dropped when reading; every line written ends in CR LF.
#ifndef TESSMARK_TEXT_FILE_H_
#define TESSMARK_TEXT_FILE_H_

#include <cstdio>
#include <memory>
#include <string>

namespace tessmark {

// Reads a file byte by byte through a buffer. Not copyable; closes its file when destroyed.
class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() { close(); }

  // Closes any open file and opens path. False when it cannot be opened or read at all (a
  // folder, for example); the object is then closed and at its end.
  bool open(const std::string& path);
  void close();

  // The next byte as an unsigned char value, or EOF; reading past the end sets the end state.
  int get() {
    if (pushedBack_ != EOF) {
      const int c = pushedBack_;
      pushedBack_ = EOF;
      return c;
    }
    if (next_ == end_ && !refill())
      return endOfInput();
    const int c = static_cast<unsigned char>(*next_++);
    if (c != '\r')
      return c;
    if (next_ == end_ && !refill())
      return c;
    if (*next_ != '\n')
      return c;
    ++next_;
    return '\n';
  }

  // Puts back the byte get() last returned; one byte at most.
  void unget(int c) { pushedBack_ = c; }

  // The offset in the file of the byte get() returns next, counted in the file's own bytes (a CR
  // dropped before an LF counted too).
  unsigned long long offset() const {
    return bufferOffset_ + static_cast<unsigned long long>(next_ - buffer_) -
           (pushedBack_ != EOF ? 1 : 0);
  }

  // Skips the bytes get() would return while skip(byte) is true; returns the first other one,
  // or EOF at the end. Bytes are tested in the buffer; a CR goes through get() for its folding,
  // unless skip takes both CR and LF, when folding cannot change what is skipped.
  template <typename Skip>
  int getSkipping(Skip skip) {
    const bool crLfSkipped = skip('\r') && skip('\n');
    for (;;) {
      if (pushedBack_ == EOF) {
        const char* next = next_;  // a local: stores through char pointers cannot touch it
        while (next != end_ && (crLfSkipped || *next != '\r') &&
               skip(static_cast<unsigned char>(*next))) {
          ++next;
        }
        next_ = next;
      }
      const int c = get();
      if (c == EOF || !skip(c))
        return c;
    }
  }

  // Appends to *text the bytes get() would return before the next stop byte (neither CR nor
  // LF), copied a run at a time, and consumes them and the stop byte. False when the input
  // ends first; everything that was left is then appended.
  bool appendUntil(char stop, std::string* text) {
    // Most runs (a tag name, an option's value) lie in the buffer with no CR before the stop.
    if (pushedBack_ == EOF) {
      const char* run = next_;
      while (run != end_ && *run != stop && *run != '\r')
        ++run;
      if (run != end_ && *run == stop) {
        text->append(next_, static_cast<size_t>(run - next_));
        next_ = run + 1;
        return true;
      }
    }
    return appendUntilSlowly(stop, text);
  }

  // True while the input has neither failed nor been read past its end.
  bool good() const { return file_ != nullptr && !atEnd_ && !failed_; }

  // Reads up to the next LF (not kept). False when nothing is left to read.
  bool readLine(std::string* line);

  // Appends everything left to text.
  void readAll(std::string* text);

 private:
  bool refill();
  bool appendUntilSlowly(char stop, std::string* text);
  int endOfInput() {
    atEnd_ = true;
    return EOF;
  }

  std::FILE* file_ = nullptr;
  unsigned long long bufferOffset_ = 0;  // of buffer_[0] in the file
  char buffer_[64 * 1024];
  const char* next_ = buffer_;
  const char* end_ = buffer_;
  int pushedBack_ = EOF;
  bool atEnd_ = true;
  bool failed_ = false;
};

// The line, counted from 1, that holds the byte at offset of the file at path (with offset at or
// past the end: the line after the last line break). Lines end at an LF. 0 when the file cannot
// be read.
unsigned long long lineAt(const std::string& path, unsigned long long offset);

// Writes a text file through a temporary file beside it (temporaryPathOf), which commit puts in
// the file's place once complete: until then, after a failure and when the program is killed,
// whatever was under the path stays as it was, and nobody sees a half-written file. Write, close
// and replace failures raise IOERROR CannotWriteFile with the file's path, never the temporary
// one. The destructor removes a temporary file that was not committed.
class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  // Makes a new temporary file for path, after removing the one a killed run may have left; a
  // folder or anything else that cannot be removed there is never written through. False when
  // it cannot be made.
  bool open(const std::string& path);
  // Writes text and a CR LF; an LF inside text is written as CR LF too.
  void writeLine(const std::string& text);
  // Writes text with every LF written as CR LF.
  void writeText(const std::string& text);
  // Closes the temporary file and puts it in path's place, replacing a file or link there
  // (never what a link points to).
  void commit();

 private:
  void writeExpanded(const std::string& text);  // every LF as CR LF
  void write(const char* data, size_t size);
  void fail() const;

  std::FILE* file_ = nullptr;
  std::string path_;
  std::string temporaryPath_;       // empty when there is none on disk
  std::unique_ptr<char[]> buffer_;  // outlives file_
};

// The temporary file OutputFile writes for path: a hidden name in the same folder, "." before the
// file name and ".tmp" after it, so that the next run finds what a killed one left. No file the
// converter writes ends in ".tmp".
std::string temporaryPathOf(const std::string& path);

// Creates path as a new empty file. False when anything is there already or it cannot be made.
bool createEmptyFile(const std::string& path);

}  // namespace tessmark

#endif  // TESSMARK_TEXT_FILE_H_
