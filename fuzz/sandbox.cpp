#include "sandbox.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "command_line.h"

namespace fs = std::filesystem;

namespace tessmark_fuzz {
namespace {

constexpr int kWalls = 8;

const char* const kErrorPrefixes[] = {
    "Could not open file: ",
    "IAR Project file parsing encountered unexpected EOF",
    "Could not create directory: ",
    "Could not write file: ",
};

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', start)) {
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  if (start < text.size())
    lines.push_back(text.substr(start));
  return lines;
}

size_t countLines(const std::string& text, const std::string& line) {
  size_t count = 0;
  const std::string framed = "\r\n" + line + "\r\n";
  for (size_t at = text.find(framed); at != std::string::npos; at = text.find(framed, at + 1))
    ++count;
  return count;
}

// Every text file the converter writes has CR LF line ends, whatever the names in it hold.
void checkLineEnds(const fs::path& file) {
  const std::string text = readBytes(file);
  for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', lf + 1))
    require(lf > 0 && text[lf - 1] == '\r', "bare LF in " + file.string());
}

// A project file reported as complete: it starts with the version tag, every line ends in
// CR LF (no bare LF from a name or path), and its markers pair up.
void checkProjectFile(const fs::path& projectFile, bool markersMayBeForged) {
  require(fs::is_regular_file(projectFile), "completed run left no project file");
  const std::string text = readBytes(projectFile);
  require(text.rfind("VersionTag45\r\n", 0) == 0, "project file does not start with its tag");
  require(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0,
          "project file does not end with CR LF");
  checkLineEnds(projectFile);
  if (markersMayBeForged)
    return;
  const std::string body = "\r\n" + text.substr(text.find('\n') + 1);
  require(countLines(body, "StartSubProjectMarker") == countLines(body, "EndSubProjectMarker"),
          "sub-project markers do not pair up");
  require(countLines(body, "StartProjectMarker") == countLines(body, "EndContainedFilesMarker"),
          "folder entries are incomplete");
}

bool isWithin(const fs::path& path, const fs::path& folder) {
  const std::string p = path.string();
  const std::string f = folder.string();
  return p == f || (p.size() > f.size() && p.compare(0, f.size(), f) == 0 && p[f.size()] == '/');
}

fs::path sandboxParent() {
  if (const char* chosen = std::getenv("TESSMARK_FUZZ_TMP"))
    return chosen;
  std::error_code error;
  if (fs::is_directory("/dev/shm", error))
    return "/dev/shm";  // a memory file system: thousands of folders per second
  return fs::temp_directory_path();
}

}  // namespace

void require(bool holds, const std::string& what) {
  if (holds)
    return;
  std::fprintf(stderr, "tessmark invariant broken: %s\n", what.c_str());
  std::abort();
}

bool isErrorLine(const std::string& line) {
  for (const char* prefix : kErrorPrefixes) {
    if (line.rfind(prefix, 0) == 0)
      return true;
  }
  return false;
}

Outcome Sandbox::run(const std::vector<std::string>& args) const {
  const fs::path previous = fs::current_path();
  fs::current_path(work_);
  std::ostringstream captured;
  std::streambuf* const console = std::cout.rdbuf(captured.rdbuf());
  tessmark::ProcessDirectory cwd;
  Outcome outcome;
  outcome.status = tessmark::runConverter(args, cwd);
  std::cout.rdbuf(console);
  fs::current_path(previous);
  outcome.lines = splitLines(captured.str());
  require(outcome.status == 0 || outcome.status == 1,
          "exit status " + std::to_string(outcome.status));
  return outcome;
}

void checkReportedOutcome(const Outcome& outcome, const fs::path& projectFile,
                          bool markersMayBeForged) {
  if (outcome.status == 0) {
    require(!outcome.lines.empty() && outcome.lines.back() == "Korval/Korval++ Project Completed!",
            "status 0 without the completed line");
    checkProjectFile(projectFile, markersMayBeForged);
    return;
  }
  require(std::any_of(outcome.lines.begin(), outcome.lines.end(), isErrorLine),
          "status 1 without an error line");
}

Sandbox::Sandbox() {
  std::string pattern = (sandboxParent() / "tessmark-fuzz-XXXXXX").string();
  require(mkdtemp(pattern.data()) != nullptr, "cannot make the sandbox folder");
  root_ = pattern;
  fs::path wall = root_;
  for (int i = 1; i <= kWalls; ++i) {
    wall /= "wall" + std::to_string(i);
    walls_.push_back(wall);
  }
  work_ = wall / "work";
  fs::create_directories(work_);
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void Sandbox::writeInput(const std::string& relative, const std::string& bytes) {
  const fs::path path = work_ / relative;
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  inputs_[path] = bytes;
}

bool Sandbox::isKnown(const fs::path& path) const {
  if (path == work_ || std::find(walls_.begin(), walls_.end(), path) != walls_.end())
    return true;
  for (const auto& input : inputs_) {
    if (isWithin(input.first, path))
      return true;  // the input itself or a folder holding it
  }
  return false;
}

void Sandbox::checkAndReset(const fs::path& allowed) {
  std::vector<fs::path> made;  // the outermost entries the run made
  for (auto it = fs::recursive_directory_iterator(root_); it != fs::recursive_directory_iterator();
       ++it) {
    const fs::path& path = it->path();
    if (isKnown(path))
      continue;
    require(isWithin(path, allowed), "created outside the destination: " + path.string());
    if (isKnown(path.parent_path()))
      made.push_back(path);
    if (it->is_regular_file() && !it->is_symlink())
      checkLineEnds(path);
  }
  for (const auto& input : inputs_)
    require(readBytes(input.first) == input.second, "input changed: " + input.first.string());
  for (const fs::path& path : made)
    fs::remove_all(path);
  fs::create_directories(allowed);
}

size_t countOf(const uint8_t* data, size_t size, const std::string& needle) {
  const char* const begin = reinterpret_cast<const char*>(data);
  const char* const end = begin + size;
  size_t count = 0;
  for (const char* at = std::search(begin, end, needle.begin(), needle.end()); at != end;
       at = std::search(at + 1, end, needle.begin(), needle.end())) {
    ++count;
  }
  return count;
}

}  // namespace tessmark_fuzz
