// The one engine of every end-to-end case: the Linux Tessmark, or Tessmark.exe under Wine, run on
// a case folder under tests/cases/ and compared byte for byte. A case folder holds:
//   args      the arguments, one per line (an empty line is an empty argument)
//   status    the expected exit status
//   stdout    the expected standard output (absent: nothing is printed)
//   input/    copied into a fresh scratch folder
//   setup     optional verbs applied to the scratch folder before the run, one per line:
//               fifo P        a FIFO at P
//               link P T      a symbolic link at P pointing to T
//               readonly P    P loses its write permissions; the converter runs as nobody
//               fsize N       the converter cannot write a file past N bytes (a full disk)
//   cwd       optional: the sub-folder of the scratch folder to run in
//   windows   optional: run Tessmark.exe under Wine, with drives C: and D: showing the scratch
//             folder's c/ and d/. Its first line is the current directory (C:\work); further
//             lines give other drives theirs (D:\data), and the run then goes through cmd, which
//             keeps one per drive as a console does.
//   registry  optional, Windows: the IDE's program path stored in the registry (first line); a
//             second line "unterminated" stores it without its NUL. Without it the key is absent.
//   expected/ every file the run makes or changes, byte for byte
//   folders   every folder the run makes, one per line
// In args, setup, stdout and expected files {TMP} stands for the scratch folder and {EXAMPLES} for
// the examples folder. With TESSMARK_UPDATE_CASES=1 a run writes what it did back into its case
// folder instead of comparing, for review by hand before the case is committed.
#ifndef TESSMARK_TESTS_E2E_RUNNER_H_
#define TESSMARK_TESTS_E2E_RUNNER_H_

#include <filesystem>
#include <string>
#include <vector>

namespace tessmark_test {

// A fresh folder, removed with everything in it when the object dies.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);
// The lines of a file without their line ends (LF or CR LF).
std::vector<std::string> readLines(const std::filesystem::path& file);

struct RunResult {
  int status = -1;     // exit status, or 128 + the signal that ended the program
  std::string output;  // standard output
};

// What a case does to the program besides its arguments.
struct ChildLimits {
  bool asNobody = false;          // when the tests run as root, so that permissions bite
  unsigned long fileSize = ~0ul;  // no limit
  unsigned long memory = ~0ul;
};

// Runs program in cwd; a run still going after two minutes is killed (a hang fails the test).
RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::filesystem::path& cwd, const ChildLimits& limits = {});

// The names of the folders below dir holding a file named marker, or without one (!with),
// sorted: one case each.
std::vector<std::string> caseNames(const std::filesystem::path& dir, const char* marker, bool with);

// Runs the case folder and compares (or writes back) what the run did. linuxExe and windowsExe
// are the programs under test; a Windows case fails when Wine or windowsExe is missing.
void runCase(const std::filesystem::path& caseDir, const std::string& linuxExe,
             const std::string& windowsExe);

}  // namespace tessmark_test

#endif  // TESSMARK_TESTS_E2E_RUNNER_H_
