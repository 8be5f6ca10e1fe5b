#include "iar_default.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessmark {

const char kIdeRegistryKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IDE.exe";

std::string iarFolderFromIdePath(const std::string& idePath) {
  const std::string once = idePath.substr(0, idePath.rfind('\\'));
  return once.substr(0, once.rfind('\\'));
}

#ifdef _WIN32
std::string defaultIARInstallDir(std::FILE* diagnostics) {
  // 256 bytes are offered; the spare byte stays zero, so a value stored without a terminating
  // NUL that fills all 256 bytes still ends inside the buffer.
  char buffer[257] = {};
  LONG size = 256;
  const LONG status = RegQueryValueA(HKEY_LOCAL_MACHINE, kIdeRegistryKey, buffer, &size);
  if (status != ERROR_SUCCESS) {
    if (diagnostics) {
      std::fprintf(diagnostics, "%s", kIdeRegistryKey);
      std::fprintf(diagnostics, "%d, %d", static_cast<int>(status), 0);
      std::fflush(diagnostics);
    }
    return std::string();
  }
  return iarFolderFromIdePath(buffer);
}
#else
// There is no registry here, so there is no default and nothing to report.
std::string defaultIARInstallDir(std::FILE* /*diagnostics*/) {
  return std::string();
}
#endif

}  // namespace tessmark
