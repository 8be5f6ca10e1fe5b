// A Windows end-to-end case is a folder under tests/windows/cases/:
//   args      the arguments after the program name, one per line (an empty line is an empty one)
//   cwd       the process's current directory, such as C:\work. Further lines give other drives
//             their own current directories (D:\data); the case then starts through cmd, which
//             keeps them as a console does. With one line the program is started directly.
//   registry  optional: the default value of the IDE.exe key under App Paths (its first line);
//             without this file the key does not exist
//   status    the expected exit status
//   stdout    the expected standard output, byte for byte (CR LF, as Windows writes it)
//   input/c/, input/d/      copied into the fresh folders that drives C: and D: show
//   expected/c/, expected/d/ every file the run makes or changes there, byte for byte
//   folders   every folder the run makes, as a Windows path (C:\out\app), one per line
//   parity    optional (empty): the Linux build, run on the same inputs with the paths mapped
//             (C:\ to <tmp>/c/, \ to /), must give the same status, output, folders and files
//             apart from separators and drive letters
#ifndef TESSMARK_TESTS_WINDOWS_WINDOWS_CASE_H_
#define TESSMARK_TESTS_WINDOWS_WINDOWS_CASE_H_

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "wine_prefix.h"

namespace tessmark_test {

struct WindowsCase {
  std::filesystem::path dir;
  std::vector<std::string> args;
  std::vector<std::string> cwd;
  std::optional<std::string> registry;
  bool parity = false;
};

// What one run did: its status, its output, and what it left in the drive folders.
struct Outcome {
  int status = -1;
  std::string output;
  std::vector<std::string> folders;          // made by the run, as C:\out\app, sorted
  std::map<std::string, std::string> files;  // made or changed: C:\out\app.prj -> bytes
};

// The Linux folder that stands for each drive letter; the folder and the letter both become
// "{C:}" when outcomes are compared.
using DriveFolders = std::vector<std::pair<char, std::filesystem::path>>;

WindowsCase loadCase(const std::filesystem::path& dir);

// Runs the case with Tessmark.exe under Wine; C: and D: show fresh folders below scratch.
Outcome runOnWindows(WinePrefix& wine, const WindowsCase& c, const std::string& exe,
                     const std::filesystem::path& scratch);

// Runs the case with the Linux Tessmark; <scratch>/c and <scratch>/d stand for C:\ and D:\.
Outcome runOnLinux(const WindowsCase& c, const std::string& exe,
                   const std::filesystem::path& scratch);

// The Linux form of a Windows path: a leading C:\ or D:\ becomes <scratch>/c/ or <scratch>/d/,
// and every \ becomes /.
std::string linuxPathOf(const std::string& windowsPath, const std::filesystem::path& scratch);

// Adds what the run left in folder (which drive letter shows) besides input and the names in
// ignored to the outcome, keyed by Windows path.
void collectDrive(char letter, const std::filesystem::path& folder,
                  const std::filesystem::path& input, const std::set<std::string>& ignored,
                  Outcome* outcome);

// Text with drive letters and separators made neutral: on the Windows side "C:\" becomes "{C:}\",
// on the Linux side the drive's folder and a "/" become "{C:}/"; then every \ becomes /, on both
// sides. Line ends are left alone.
std::string neutralWindowsText(std::string text, const DriveFolders& drives);
std::string neutralLinuxText(std::string text, const DriveFolders& drives);

}  // namespace tessmark_test

#endif  // TESSMARK_TESTS_WINDOWS_WINDOWS_CASE_H_
