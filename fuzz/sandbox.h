// What the fuzz targets share: a folder world to run the converter in, the run itself with its
// standard output captured, and the checks every run must pass. A failed check ends the process
// with abort(), so libFuzzer keeps the input as a crash.
#ifndef TESSMARK_FUZZ_SANDBOX_H_
#define TESSMARK_FUZZ_SANDBOX_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tessmark_fuzz {

// Prints what failed and aborts when the invariant does not hold.
void require(bool holds, const std::string& what);

struct Outcome {
  int status = -1;
  std::vector<std::string> lines;  // standard output, one entry per line
};

// The lines a run that failed may end with.
bool isErrorLine(const std::string& line);

// Checks a run on valid paths: status 0 ends with the completed line and a well-formed project
// file; status 1 printed one of the error lines (a failure is never silent). Names and paths are
// written as read, so an input that holds a marker's text can forge marker lines: then the
// markers are not counted.
void checkReportedOutcome(const Outcome& outcome, const std::filesystem::path& projectFile,
                          bool markersMayBeForged);

// A temporary folder (on /dev/shm when there is one) holding eight nested "wall" folders and,
// innermost, the work folder, where the converter runs. The inputs live below the work folder. A
// file or folder created outside the allowed folder, even several ".." steps up, lands among the
// walls and is found by checkAndReset.
class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::filesystem::path& work() const { return work_; }

  // Runs the converter's whole entry (argv without the program name) in this process, with the
  // work folder as current directory and standard output captured; checks that the status is 0
  // or 1. The current directory is restored afterwards: libFuzzer reads its corpus by relative
  // paths.
  Outcome run(const std::vector<std::string>& args) const;

  // Writes an input file below the work folder; its bytes are checked after every run.
  void writeInput(const std::string& relative, const std::string& bytes);

  // Checks that everything below the sandbox is a wall, the work folder, an unchanged input
  // (or a folder holding inputs), or lies below `allowed`, and that every file the run made has
  // CR LF line ends; then removes what the run made and recreates `allowed` as an empty folder.
  void checkAndReset(const std::filesystem::path& allowed);

 private:
  bool isKnown(const std::filesystem::path& path) const;

  std::filesystem::path root_;
  std::filesystem::path work_;
  std::vector<std::filesystem::path> walls_;
  std::map<std::filesystem::path, std::string> inputs_;  // absolute path -> bytes
};

// Counts the occurrences of needle in the fuzz input.
size_t countOf(const uint8_t* data, size_t size, const std::string& needle);

}  // namespace tessmark_fuzz

#endif  // TESSMARK_FUZZ_SANDBOX_H_
