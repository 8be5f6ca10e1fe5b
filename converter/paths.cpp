#include "paths.h"

#include <algorithm>

#include "variables.h"

namespace tessmark {
namespace {

bool isWindowsRoot(char c) {
  return c == '\\' || c == '/';
}

std::string windowsAbsolute(const std::string& path, CurrentDirectory& cwd) {
  if (path.size() >= 2 && path[1] == ':') {
    if (path.size() >= 3 && isWindowsRoot(path[2]))
      return path;
    // Drive-relative: the drive's own current directory, then back to the drive we were on.
    const std::string previous = cwd.read();
    cwd.change(path.substr(0, 2));
    const std::string driveDir = cwd.read();
    cwd.change(previous.substr(0, 2));
    return driveDir + '\\' + path.substr(2);
  }
  if (!path.empty() && isWindowsRoot(path[0]))
    return path;
  const std::string dir = cwd.read();
  return path == "." ? dir : dir + '\\' + path;
}

std::string posixAbsolute(const std::string& path, CurrentDirectory& cwd) {
  if (!path.empty() && path[0] == '/')
    return path;
  const std::string dir = cwd.read();
  return path == "." ? dir : dir + '/' + path;
}

}  // namespace

PathStyle nativePathStyle() {
#ifdef _WIN32
  return PathStyle::kWindows;
#else
  return PathStyle::kPosix;
#endif
}

std::string makeAbsolute(const std::string& path, PathStyle style, CurrentDirectory& cwd) {
  return style == PathStyle::kWindows ? windowsAbsolute(path, cwd) : posixAbsolute(path, cwd);
}

std::string defaultProjectName(const std::string& sourcePath, PathStyle style) {
  const std::string stem = sourcePath.substr(0, sourcePath.rfind('.'));
  const size_t lastSeparator = stem.rfind(separatorOf(style));
  const size_t start = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
  const size_t dot = stem.rfind('.');
  if (dot != std::string::npos && dot >= start)
    return stem.substr(start, dot - start);
  return stem.substr(start);
}

void toNativeSeparators(std::string& path, PathStyle style) {
  const char from = style == PathStyle::kWindows ? '/' : '\\';
  const char to = separatorOf(style);
  for (char& c : path) {
    if (c == from)
      c = to;
  }
}

std::string fileNameOf(const std::string& path, PathStyle style) {
  const size_t cut = path.rfind(separatorOf(style));
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string folderOf(const std::string& path, PathStyle style) {
  return path.substr(0, path.rfind(separatorOf(style)));
}

std::string folderWithSeparatorOf(const std::string& path, PathStyle style) {
  const size_t cut = path.rfind(separatorOf(style));
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         equalsIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

std::string trimChar(const std::string& s, char c) {
  const size_t first = s.find_first_not_of(c);
  if (first == std::string::npos)
    return std::string();
  return s.substr(first, s.find_last_not_of(c) - first + 1);
}

std::string unbrokenValue(std::string value) {
  // Values are short and rarely hold a line break: leave them alone unless they do.
  if (value.find_first_of("\r\n") == std::string::npos)
    return value;
  const size_t kept = value.find_last_not_of(" \t\n\v\f\r") + 1;  // 0 when all blank
  if (value.find_first_of("\r\n", kept) != std::string::npos)
    value.erase(kept);
  std::string result;
  for (size_t i = 0; i < value.size(); ++i) {
    const bool crLf = value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n';
    result.push_back(value[i] == '\r' || value[i] == '\n' ? ' ' : value[i]);
    i += crLf ? 1 : 0;
  }
  return result;
}

bool isRelativeIarPath(const std::string& path) {
  if (!path.empty() && isWindowsRoot(path[0]))
    return false;
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    return false;
  }
  if (!path.empty() && path[0] == '$') {
    const size_t close = path.find('$', 1);
    return close == std::string::npos ||
           !isVariableName(std::string_view(path).substr(1, close - 1));
  }
  return true;
}

}  // namespace tessmark
