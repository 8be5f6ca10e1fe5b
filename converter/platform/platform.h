// The code that asks the operating system about files: the current directory, the existence of
// a path and the creation of one folder (the registry is read in iar_default). One per platform
// (platform-posix.cpp, platform-win32.cpp), chosen by the build.
#ifndef TESSMARK_PLATFORM_PLATFORM_H_
#define TESSMARK_PLATFORM_PLATFORM_H_

#include <string>

namespace tessmark {
namespace platform {

// The current directory of the process (of the current drive on Windows), with no length
// limit. Throws std::runtime_error when it cannot be read (for example a deleted directory).
std::string currentDirectory();

// Changes the current directory; on Windows "D:" makes drive D current at its own current
// directory. Returns false when it could not be changed; callers may ignore that.
bool changeDirectory(const std::string& path);

// True when any file-system entry (folder, file, device...) exists under the path.
bool exists(const std::string& path);

enum class CreateResult { kCreated, kAlreadyExists, kFailed };

// Creates one folder level; its parent must exist.
CreateResult createDirectory(const std::string& path);

}  // namespace platform
}  // namespace tessmark

#endif  // TESSMARK_PLATFORM_PLATFORM_H_
