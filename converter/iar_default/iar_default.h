// The default IAR folder, one rule for Tessmark and tessmark-wizard so that the two never
// disagree: the registry's path of IAR's IDE program, with its file name and the folder holding
// it cut off. Plain C++ over the platform layer; nothing else.
#ifndef TESSMARK_IAR_DEFAULT_H_
#define TESSMARK_IAR_DEFAULT_H_

#include <cstdio>
#include <string>

namespace tessmark {

// The key under HKEY_LOCAL_MACHINE whose default value is the IDE's program path.
extern const char kIdeRegistryKey[];

// The IDE path cut twice before its last backslash (A\B\C\tool.exe gives A\B); a cut that finds
// no backslash leaves the string whole. The registry always holds Windows paths.
std::string iarFolderFromIdePath(const std::string& idePath);

// The IAR folder from the registry value, read into 256 bytes. Empty when the key is missing, the
// value does not fit or the platform has no registry. A failed registry read is reported to
// diagnostics when one is given: the key, then the status code and a zero as "%d, %d", with no
// line break anywhere.
std::string defaultIARInstallDir(std::FILE* diagnostics = nullptr);

}  // namespace tessmark

#endif  // TESSMARK_IAR_DEFAULT_H_
