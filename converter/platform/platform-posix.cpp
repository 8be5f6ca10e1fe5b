#include "platform/platform.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace tessmark {
namespace platform {

std::string currentDirectory() {
  // getcwd(nullptr, 0) allocates a buffer as long as the path needs.
  std::unique_ptr<char, decltype(&free)> dir(getcwd(nullptr, 0), &free);
  if (!dir)
    throw std::runtime_error("cannot read the current directory");
  return dir.get();
}

bool changeDirectory(const std::string& path) {
  return chdir(path.c_str()) == 0;
}

bool exists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

bool entryExists(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0;
}

ListResult listFolder(const std::string& folder, std::vector<std::string>* names) {
  struct CloseDir {
    void operator()(DIR* dir) const { closedir(dir); }
  };
  std::unique_ptr<DIR, CloseDir> dir(opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir)
    return errno == ENOENT || errno == ENOTDIR ? ListResult::kMissing : ListResult::kCannotList;
  names->clear();
  errno = 0;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..")
      names->push_back(name);
  }
  return errno == 0 ? ListResult::kListed : ListResult::kCannotList;
}

CreateResult createDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0)
    return CreateResult::kCreated;
  return errno == EEXIST ? CreateResult::kAlreadyExists : CreateResult::kFailed;
}

std::FILE* createNewFile(const std::string& path) {
  // O_EXCL fails on any entry under the path, a dangling link included.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0)
    return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr)
    close(fd);
  return file;
}

bool removeFile(const std::string& path) {
  return unlink(path.c_str()) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

long readRegistryDefault(const std::string& /*key*/, std::string* /*value*/) {
  return kNoRegistry;
}

}  // namespace platform
}  // namespace tessmark
