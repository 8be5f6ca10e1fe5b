// The converter's one libFuzzer target. The first input byte, modulo 3, chooses what the rest is:
// 0 ('c') a command line (the arguments after the program name, one per line), 1 ('p') an IAR
// project (.ewp), 2 ('w') an IAR workspace (.eww). Each input runs through the converter's whole
// entry, in this process, inside a sandbox folder; a broken invariant aborts, so libFuzzer keeps
// the input.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>

#include "command_line.h"

namespace fs = std::filesystem;

namespace {

void require(bool holds, const std::string& what) {
  if (holds)
    return;
  std::cerr << "tessmark invariant broken: " << what << std::endl;
  std::abort();
}

std::string readBytes(const fs::path& file) {
  std::ostringstream bytes;
  bytes << std::ifstream(file, std::ios::binary).rdbuf();
  return bytes.str();
}

size_t countOf(const std::string& text, const std::string& needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
    ++count;
  return count;
}

// A project file reported as complete starts with its tag, ends in CR LF and its markers pair
// up. Names are written as read, so an input that holds a marker's text can forge marker lines:
// then the markers are not counted.
void checkProjectFile(const fs::path& file, bool markersMayBeForged) {
  const std::string text = readBytes(file);
  require(text.rfind("VersionTag45\r\n", 0) == 0 && text.compare(text.size() - 2, 2, "\r\n") == 0,
          "completed run without a whole project file");
  const auto lines = [body = "\r\n" + text.substr(text.find('\n') + 1)](const char* line) {
    return countOf(body, std::string("\r\n") + line + "\r\n");
  };
  require(markersMayBeForged || (lines("StartSubProjectMarker") == lines("EndSubProjectMarker") &&
                                 lines("StartProjectMarker") == lines("EndContainedFilesMarker")),
          "project file markers do not pair up");
}

// A temporary folder (below $TMPDIR: run_fuzzers.sh points it to a memory file system) holding
// eight nested "wall" folders and, innermost, the work folder where the converter runs, with the
// fixtures in work/in and an empty work/out. Whatever a run makes outside the folder it may write
// to, even several ".." steps up, lands among the walls.
struct Sandbox {
  fs::path root, work;
  // Every entry below the sandbox when no run is going on, with its bytes (a folder reads as
  // empty); checked after every run.
  std::map<fs::path, std::string> known;

  Sandbox() {
    std::string pattern = fs::temp_directory_path() / "tessmark-fuzz-XXXXXX";
    require(mkdtemp(pattern.data()), "cannot make the sandbox");
    root = work = pattern;
    for (int wall = 1; wall <= 8; ++wall)
      work /= "wall" + std::to_string(wall);
    fs::create_directories((work /= "work") / "out");
    fs::copy(TESSMARK_FUZZ_FIXTURES, work / "in", fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(root))
      known[entry.path()] = readBytes(entry.path());
  }
  ~Sandbox() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  // Runs the converter's entry in the work folder with standard output captured. The current
  // directory is restored: libFuzzer reads its corpus by relative paths.
  std::pair<int, std::string> run(const std::vector<std::string>& args) const {
    const fs::path previous = fs::current_path();
    fs::current_path(work);
    std::ostringstream captured;
    std::streambuf* const standardOutput = std::cout.rdbuf(captured.rdbuf());
    tessmark::ProcessDirectory cwd;
    const int status = tessmark::runConverter(args, cwd);
    std::cout.rdbuf(standardOutput);
    fs::current_path(previous);
    require(status >= 0 && status <= 2, "exit status " + std::to_string(status));
    return {status, captured.str()};
  }

  // Checks that everything the run made lies below `allowed`, that every file it made has CR LF
  // line ends only, and that no input changed; then removes what the run made.
  void checkAndReset(const fs::path& allowed) {
    std::vector<fs::path> made;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      const fs::path& path = entry.path();
      if (known.count(path))
        continue;
      require((path.string() + '/').rfind(allowed.string() + '/', 0) == 0,
              "made outside the destination: " + path.string());
      if (known.count(path.parent_path()))
        made.push_back(path);
      const std::string text = entry.is_regular_file() ? readBytes(path) : "";
      require(countOf(text, "\n") == countOf(text, "\r\n"), "bare LF in " + path.string());
    }
    for (const auto& entry : known)
      require(readBytes(entry.first) == entry.second, "input changed: " + entry.first.string());
    for (const fs::path& path : made)
      fs::remove_all(path);
  }
};

// The error lines of a failed run (the path in one may hold line breaks, so they are looked for
// at the start of any line).
const std::regex kErrorLine(
    "(^|\n)(Could not (open file|create directory|write file|read variable file): |"
    "IAR Project file parsing encountered unexpected EOF|Unknown option: |"
    "Missing value for option: )");
// Command lines whose arguments could name something outside the work folder (absolute, or
// holding ".."), or that no argv can hold.
const std::regex kLeavingArguments("(^|\n)/|\\.\\.|\\x00");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return -1;
  const char kind = "cpw"[data[0] % 3];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  // Every group is written once per configuration and every workspace entry reads a whole
  // project: an input whose work is large only by these products is skipped, not reported slow.
  if (countOf(text, "<project") > 64 ||
      (countOf(text, "<configuration") + 1) * (countOf(text, "<group") + 1) > 4096)
    return -1;
  static Sandbox box;
  // The input is also there as a project and as a workspace for every kind, so a command line
  // may name it and no earlier input is left behind.
  // It is also the project's connection file and the variable file beside the source.
  for (const char* name :
       {"in/fuzzed.ewp", "in/fuzzed.eww", "in/fuzzed.ipcf", "in/fuzzed.custom_argvars"})
    std::ofstream(box.work / name, std::ios::binary) << (box.known[box.work / name] = text);
  const fs::path out = box.work / "out";
  std::vector<std::string> args;  // one per line
  std::istringstream lines(text + '\n');
  for (std::string line; std::getline(lines, line);)
    args.push_back(line);
  if (kind != 'c') {
    const fs::path source = box.work / (kind == 'w' ? "in/fuzzed.eww" : "in/fuzzed.ewp");
    args = {source, out, "/opt/iar", "-ext", "c,h,s,asm", "-ap", box.work / "in/pers.txt"};
  } else if (args.size() > 24 || std::regex_search(text, kLeavingArguments)) {
    return -1;
  }
  const auto [status, console] = box.run(args);
  const std::string last = console.substr(console.rfind('\n', console.size() - 2) + 1);
  const bool answers =
      !args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "--version");
  if (answers) {
    require(status == 0, "help or version with a status");
  } else if (args.size() < 3) {
    require(status == 0 && countOf(console, "\n") == 2 && console.rfind("Usage: ", 0) == 0,
            "fewer than three arguments without the usage lines");
  } else if (status == 1) {
    require(std::regex_search(console, kErrorLine), "status 1 without an error line");
  } else {
    const std::string completed = "Korval/Korval++ Project Completed!\n";
    const size_t at = console.rfind(completed);
    require(at != std::string::npos, "a written project without the completed line");
    const std::string after = console.substr(at + completed.size());
    require(status == 0 ? after.empty() : after.rfind("Warning: ", 0) == 0 && after == last,
            "status " + std::to_string(status) + " ends with " + last);
    if (kind != 'c')
      checkProjectFile(out / "fuzzed.prj", countOf(text, "Marker") > 0);
  }
  box.checkAndReset(kind == 'c' ? box.work : out);
  return 0;
}
