// A private Wine installation for one run of the Windows suite: its own prefix in a temporary
// folder (never the user's ~/.wine), one persistent wineserver for the whole run, drive letters
// that the tests point at folders of their own, and the registry value of the IDE's program path.
#ifndef TESSMARK_TESTS_WINDOWS_WINE_PREFIX_H_
#define TESSMARK_TESTS_WINDOWS_WINE_PREFIX_H_

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "e2e_runner.h"

namespace tessmark_test {

// The Wine loader to use: $TESSMARK_WINE (only that one when set), else wine64 on the PATH, else
// Debian's /usr/lib/wine/wine64, else wine on the PATH. Empty when Wine is not installed.
std::string findWine();

// The Windows path under which Wine shows a Linux path (through drive Z:).
std::string windowsPathOf(const std::filesystem::path& linuxPath);

// One argument quoted for a Windows command line, as the C runtime splits it again: in double
// quotes, with the backslashes before the closing quote doubled. Throws on a double quote, a line
// break or a percent sign, which a batch file cannot pass through unchanged.
std::string quoteForBatch(const std::string& argument);

class WinePrefix {
 public:
  // Creates the prefix (wineboot) with a persistent wineserver. Throws std::runtime_error.
  explicit WinePrefix(const std::string& wine);
  // Stops this prefix's wineserver and everything it runs, then removes the prefix.
  ~WinePrefix();
  WinePrefix(const WinePrefix&) = delete;
  WinePrefix& operator=(const WinePrefix&) = delete;

  // Points a drive letter ('c', 'd', ...) at folder. For C:, Windows' own folders of the prefix
  // (windows, users, ...) are linked into folder first, so Wine keeps working.
  void mapDrive(char letter, const std::filesystem::path& folder);

  // The names that mapDrive links into the folder of C:; they are not the tests' own.
  const std::set<std::string>& systemEntries() const { return systemEntries_; }

  // Sets the default value of HKLM\...\App Paths\IDE.exe, or deletes the key for nullopt.
  // Calls reg only when the value changes.
  void setIdePath(const std::optional<std::string>& value);

  // Runs a Windows program with its arguments from a Linux folder, which Wine turns into the
  // process's current directory (C:\work for <folder of C:>/work). No drive but the current one
  // has a current directory of its own.
  RunResult run(const std::vector<std::string>& commandLine, const std::filesystem::path& linuxCwd);

  // Runs a batch file made of the given lines through cmd, which gives every drive it changes to
  // (cd /d) its own current directory, as an interactive console does.
  RunResult runBatch(const std::vector<std::string>& lines);

 private:
  RunResult runWine(const std::vector<std::string>& arguments, const std::filesystem::path& cwd);
  void runWineserver(const std::string& option);

  std::string wine_;
  std::string wineserver_;
  TempFolder root_;
  std::filesystem::path prefix_;
  std::set<std::string> systemEntries_;
  std::optional<std::string> idePath_;
};

}  // namespace tessmark_test

#endif  // TESSMARK_TESTS_WINDOWS_WINE_PREFIX_H_
