#include "iar_default.h"

#include "platform/platform.h"

namespace tessmark {

const char kIdeRegistryKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IDE.exe";

std::string iarFolderFromIdePath(const std::string& idePath) {
  const std::string once = idePath.substr(0, idePath.rfind('\\'));
  return once.substr(0, once.rfind('\\'));
}

// Without a registry there is no default and nothing to report.
std::string defaultIARInstallDir(std::FILE* diagnostics) {
  std::string idePath;
  const long status = platform::readRegistryDefault(kIdeRegistryKey, &idePath);
  if (status == 0)
    return iarFolderFromIdePath(idePath);
  if (diagnostics != nullptr && status != platform::kNoRegistry) {
    std::fprintf(diagnostics, "%s", kIdeRegistryKey);
    std::fprintf(diagnostics, "%d, %d", static_cast<int>(status), 0);
    std::fflush(diagnostics);
  }
  return std::string();
}

}  // namespace tessmark
