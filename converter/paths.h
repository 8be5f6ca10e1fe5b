// Path rules of the converter as plain string functions. Every rule takes the path style as a
// parameter, so Windows and POSIX behaviour can both be checked on any machine. Paths are never
// normalised: dot steps stay, doubled separators stay doubled.
#ifndef TESSMARK_PATHS_H_
#define TESSMARK_PATHS_H_

#include <string>
#include <string_view>

namespace tessmark {

enum class PathStyle {
  kWindows,  // separator '\', drive letters
  kPosix,    // separator '/'
};

// The style of the platform the converter was built for.
PathStyle nativePathStyle();

inline char separatorOf(PathStyle style) {
  return style == PathStyle::kWindows ? '\\' : '/';
}

// The process's current directory as makeAbsolute sees it; an interface so the rules can be
// tested without touching the process.
class CurrentDirectory {
 public:
  virtual ~CurrentDirectory() = default;
  virtual std::string read() = 0;
  // May fail silently: a drive that cannot be made current leaves the directory as it was.
  virtual void change(const std::string& path) = 0;
};

// Resolves a command-line path against the current directory (of its drive, on Windows). A
// drive-relative form (D:x) switches to the drive for one read and switches back before
// returning.
std::string makeAbsolute(const std::string& path, PathStyle style, CurrentDirectory& cwd);

// The Korval project name the entry derives from the absolute source path: the file name
// without its extension, cut once more at a remaining dot.
std::string defaultProjectName(const std::string& sourcePath, PathStyle style);

// Windows: every '/' becomes '\'. POSIX: every '\' becomes '/'. In place.
void toNativeSeparators(std::string& path, PathStyle style);

// What follows the last separator (all of the path when it has none).
std::string fileNameOf(const std::string& path, PathStyle style);

// The path up to, not including, its last separator (all of the path when it has none).
std::string folderOf(const std::string& path, PathStyle style);

// The path up to and including its last separator (empty when it has none).
std::string folderWithSeparatorOf(const std::string& path, PathStyle style);

// ASCII letters without regard to their case, as Windows compares names and extensions.
inline char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view end);

// Removes every leading and every trailing occurrence of c.
std::string trimChar(const std::string& s, char c);

// A value read from an IAR file made fit for one line of a written file: a trailing run of white
// space that holds a line break is dropped (a closing tag on the next line), and every line break
// left inside (CR LF, LF or CR) becomes one blank. Other trailing white space stays.
std::string unbrokenValue(std::string value);

// True for a path read from an IAR file that names no root: neither a leading separator nor a
// drive letter (a Windows path is absolute on every platform), and not a variable left
// unexpanded at its start, which may stand for anything.
bool isRelativeIarPath(const std::string& path);

}  // namespace tessmark

#endif  // TESSMARK_PATHS_H_
