// Runs the real Tessmark binary on one end-to-end case and compares what it did, byte for byte.
//
// A case is a folder under tests/cases/:
//   args      the command line, one argument per line (an empty line is an empty argument)
//   status    the expected exit status
//   stdout    the expected standard output (may be absent: then nothing is printed)
//   input/    copied into a fresh temporary folder, which becomes the current directory
//   expected/ the files the run must leave there besides the inputs, byte for byte
//   folders   every folder the run must leave there besides those of input/, one per line
//   cwd       optional: the sub-folder of the temporary folder to run in
// In args, stdout and expected files, {TMP} stands for the temporary folder and {EXAMPLES} for
// the repository's examples folder.
#ifndef TESSMARK_TESTS_E2E_RUNNER_H_
#define TESSMARK_TESTS_E2E_RUNNER_H_

#include <filesystem>
#include <string>
#include <vector>

namespace tessmark_test {

struct RunResult {
  int status = -1;
  std::string output;
};

// Runs program with args in folder cwd, capturing standard output.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::filesystem::path& cwd);

// A fresh empty folder, removed when the object dies (unless TESSMARK_KEEP_TMP is set).
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
std::string replaceAll(std::string text, const std::string& what, const std::string& with);

// The lines of a text file, each without its line end (LF or CR LF).
std::vector<std::string> readLines(const std::filesystem::path& file);

// The names of the folders directly below dir, sorted: one test case each.
std::vector<std::string> subfolderNames(const std::filesystem::path& dir);

// A test name made of letters, digits and '_' only.
std::string testNameOf(std::string text);

// Relative paths of every folder and every file below root, sorted.
void listTree(const std::filesystem::path& root, std::vector<std::string>* folders,
              std::vector<std::string>* files);

}  // namespace tessmark_test

#endif  // TESSMARK_TESTS_E2E_RUNNER_H_
