#include "platform/platform.h"

#include <direct.h>
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace tessmark {
namespace platform {

std::string currentDirectory() {
  // _getcwd(nullptr, 0) allocates a buffer as long as the path needs, so long current
  // directories are read whole.
  std::unique_ptr<char, decltype(&free)> dir(_getcwd(nullptr, 0), &free);
  if (!dir)
    throw std::runtime_error("cannot read the current directory");
  return dir.get();
}

namespace {

// Windows keeps one current directory per drive in the hidden environment entries "=C:", "=D:"
// and so on, and "C:" alone is resolved through them. A process that was started in a folder by
// anything but a console has no entry for its own drive, so coming back with "C:" from another
// drive would land on the root. Recording the directory being left, as the console does, makes
// "C:" lead back to it.
void rememberDriveDirectory() {
  std::unique_ptr<char, decltype(&free)> dir(_getcwd(nullptr, 0), &free);
  if (!dir || dir.get()[0] == '\0' || dir.get()[1] != ':')
    return;
  const std::string entry = std::string("=") + dir.get()[0] + ':';
  SetEnvironmentVariableA(entry.c_str(), dir.get());
}

}  // namespace

bool changeDirectory(const std::string& path) {
  rememberDriveDirectory();
  return _chdir(path.c_str()) == 0;
}

bool exists(const std::string& path) {
  return _access(path.c_str(), 0) == 0;
}

bool entryExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

ListResult listFolder(const std::string& folder, std::vector<std::string>* names) {
  std::string pattern = folder.empty() ? std::string(".\\") : folder;
  if (pattern.back() != '\\' && pattern.back() != '/')
    pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA(pattern.c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ||
                   error == ERROR_DIRECTORY
               ? ListResult::kMissing
               : ListResult::kCannotList;
  }
  names->clear();
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..")
      names->push_back(name);
  } while (FindNextFileA(find, &entry));
  const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(find);
  return complete ? ListResult::kListed : ListResult::kCannotList;
}

CreateResult createDirectory(const std::string& path) {
  if (_mkdir(path.c_str()) == 0)
    return CreateResult::kCreated;
  return errno == EEXIST ? CreateResult::kAlreadyExists : CreateResult::kFailed;
}

std::FILE* createNewFile(const std::string& path) {
  const int fd =
      _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0)
    return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr)
    _close(fd);
  return file;
}

bool removeFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

// rename() would refuse an existing target on Windows.
bool replaceFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

long readRegistryDefault(const std::string& key, std::string* value) {
  // The spare byte stays zero, so a value stored without a terminating NUL that fills all 256
  // offered bytes still ends inside the buffer.
  char buffer[257] = {};
  LONG size = 256;
  const LONG status = RegQueryValueA(HKEY_LOCAL_MACHINE, key.c_str(), buffer, &size);
  if (status == ERROR_SUCCESS)
    *value = buffer;
  return status;
}

}  // namespace platform
}  // namespace tessmark
