// The only code that asks the operating system anything: the current directory, the existence
// of a path, folder listings, the creation of one folder, the creation, removal and replacement
// of files, and the registry. One implementation per
// platform (platform-posix.cpp, platform-win32.cpp), chosen by the build.
#ifndef TESSMARK_PLATFORM_PLATFORM_H_
#define TESSMARK_PLATFORM_PLATFORM_H_

#include <cstdio>
#include <string>
#include <vector>

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

// True when an entry exists under the path as written: a file, folder, device or link, a link
// whose target is missing included (links are not followed at the last component).
bool entryExists(const std::string& path);

enum class ListResult { kListed, kMissing, kCannotList };

// The names of the entries in folder ("" is the current directory), "." and ".." left out, in
// no particular order. kMissing when the folder does not exist or a component of its path is
// not a folder; kCannotList for any other failure (no permission, too long...). *names is
// filled only for kListed.
ListResult listFolder(const std::string& folder, std::vector<std::string>* names);

enum class CreateResult { kCreated, kAlreadyExists, kFailed };

// Creates one folder level; its parent must exist.
CreateResult createDirectory(const std::string& path);

// Creates path as a new empty file and opens it for writing bytes. Null when anything is already
// there (a link too, even one whose target is missing: it is never followed) or it cannot be made.
std::FILE* createNewFile(const std::string& path);

// Removes the file or link at path (never what a link points to); false when nothing was removed.
bool removeFile(const std::string& path);

// Moves the file from into to's place in one step, replacing a file or link there (never what a
// link points to): anyone opening to finds either the old file or the new one. The two lie in one
// folder. False when it cannot be done (a folder in to's place, no permission...).
bool replaceFile(const std::string& from, const std::string& to);

// What readRegistryDefault returns where the platform has no registry.
constexpr long kNoRegistry = -1;

// Reads the default value of the registry key under HKEY_LOCAL_MACHINE, offering 256 bytes; the
// value ends at its first NUL, also when it fills all 256 bytes without one. Returns the
// system's status code: 0 when *value was read, kNoRegistry where there is no registry.
long readRegistryDefault(const std::string& key, std::string* value);

}  // namespace platform
}  // namespace tessmark

#endif  // TESSMARK_PLATFORM_PLATFORM_H_
