// The end-to-end tests. Every folder under tests/cases/ is one case: the Linux Tessmark, or
// Tessmark.exe under Wine, run by one engine and compared byte for byte. A case folder holds:
//   args      the arguments, one per line (an empty line is an empty argument)
//   status    the expected exit status
//   stdout    the expected standard output (absent: nothing is printed)
//   input/    copied into a fresh scratch folder
//   setup     optional verbs applied to the scratch folder before the run, one per line:
//               fifo P        a FIFO at P
//               link P T      a symbolic link at P pointing to T
//               readonly P    P loses its write permissions; the converter runs as nobody
//               unlistable P  P loses its read permissions; the converter runs as nobody
//               fsize N       the converter cannot write a file past N bytes (a full disk)
//               env NAME V    the converter runs with the environment variable NAME set to V
//   cwd       optional: the sub-folder of the scratch folder to run in
//   windows   optional: run Tessmark.exe under Wine, with drives C: and D: showing the scratch
//             folder's c/ and d/. Its first line is the current directory (C:\work); further
//             lines give other drives theirs (D:\data), and the run then goes through cmd, which
//             keeps one per drive as a console does.
//   registry  optional, Windows: the IDE's program path stored in the registry (first line); a
//             second line "unterminated" stores it without its NUL. Without it the key is absent.
//   expected/ every file the run makes or changes, byte for byte
//   folders   every folder the run makes, one per line
//   removed   optional: every file, link or folder the run removes, one per line
// In args, setup, stdout and expected files {TMP} stands for the scratch folder, {EXAMPLES} for
// the examples folder and {REAL} for the real-world corpus beside the repository (read there,
// never copied). With TESSMARK_UPDATE_CASES=1 a run writes what it did back into its case
// folder instead of comparing, for review by hand before the case is committed. The Windows cases
// share one Wine installation, so CTest runs them as one test (windows_suite).
//
// The Corpus tests: every IAR workspace and project of the real-world corpus beside the
// repository converts to its end, every source file it lists reaches the Korval project file, and
// no value breaks a line.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A fresh folder, removed with everything in it when the object dies. Always below /tmp, never
// $TMPDIR: a case may record byte offsets that depend on the length of the scratch path.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = "/tmp/tessmark-e2e-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    // Cases leave read-only folders behind; make them removable first.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
      if (it->is_directory(ignored) && !it->is_symlink(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

struct RunResult {
  int status = -1;     // exit status, or 128 + the signal that ended the program
  std::string output;  // standard output
};

// What a case does to the program besides its arguments.
struct ChildLimits {
  bool asNobody = false;          // when the tests run as root, so that permissions bite
  unsigned long fileSize = ~0ul;  // no limit
  unsigned long memory = ~0ul;
  std::vector<std::pair<std::string, std::string>> environment;
};

std::string readBytes(const fs::path& file) {
  std::ostringstream bytes;
  bytes << std::ifstream(file, std::ios::binary).rdbuf();
  return bytes.str();
}

void writeBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// The lines of a file without their line ends (LF or CR LF).
std::vector<std::string> readLines(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The names of the folders below dir holding a file named marker, or without one (!with),
// sorted: one case each.
std::vector<std::string> caseNames(const fs::path& dir, const char* marker, bool with) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_directory() && fs::exists(entry.path() / marker) == with)
      names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string replaceAll(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); !what.empty() && at != std::string::npos;
       at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
  return text;
}

void becomeChild(const fs::path& cwd, const fs::path& output, const ChildLimits& limits) {
  const int in = open("/dev/null", O_RDONLY);
  const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0)
    _exit(126);
  alarm(120);  // survives exec: a hang fails the case instead of blocking the suite
  // Past the size limit a write fails with EFBIG, as on a full disk, instead of a signal.
  signal(SIGXFSZ, SIG_IGN);
  const rlimit fileSize = {limits.fileSize, limits.fileSize},
               memory = {limits.memory, limits.memory};
  setrlimit(RLIMIT_FSIZE, &fileSize);
  setrlimit(RLIMIT_AS, &memory);
  if (limits.asNobody && getuid() == 0 &&
      (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
    _exit(125);
  }
  for (const auto& [name, value] : limits.environment)
    setenv(name.c_str(), value.c_str(), 1);
  if (chdir(cwd.c_str()) != 0)
    _exit(126);
}

// Runs program in cwd; a run still going after two minutes is killed (a hang fails the test).
// Standard output goes to a file, read once the program has ended: Wine leaves processes behind
// that would hold a pipe open.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const fs::path& cwd, const ChildLimits& limits = {}) {
  TempFolder scratch;
  const fs::path output = scratch.path() / "stdout";
  const pid_t pid = fork();
  if (pid == 0) {
    becomeChild(cwd, output, limits);
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  return {WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus), readBytes(output)};
}

std::string windowsPathOf(const fs::path& linuxPath) {
  return "Z:" + replaceAll(linuxPath.string(), "/", "\\");
}

// One argument for a batch line, as the C runtime splits it again.
std::string quoted(const std::string& argument) {
  const size_t trailing = argument.size() - (argument.find_last_not_of('\\') + 1);
  return '"' + argument + std::string(trailing, '\\') + '"';
}

// A private Wine installation for the whole test program: its own prefix (never ~/.wine), one
// persistent wineserver, drive letters pointed at the cases' folders and the IDE's registry key.
class Wine {
 public:
  // Debian keeps the loader and its server in /usr/lib/wine; TESSMARK_WINE names another loader.
  // Null when Wine is missing.
  static Wine* get() {
    static std::unique_ptr<Wine> wine;
    const char* chosen = std::getenv("TESSMARK_WINE");
    const fs::path loader = chosen != nullptr ? chosen : "/usr/lib/wine/wine64";
    if (wine == nullptr && access(loader.c_str(), X_OK) == 0)
      wine.reset(new Wine(loader));
    return wine.get();
  }
  ~Wine() { runProgram(server_, {"-k"}, root_.path()); }

  // Points a drive letter at folder; C: gets links to Windows' own folders of the prefix.
  void mapDrive(char letter, const fs::path& folder) {
    fs::create_directories(folder);
    for (const std::string& name : letter == 'c' ? system_ : std::vector<std::string>()) {
      if (!fs::exists(fs::symlink_status(folder / name)))
        fs::create_directory_symlink(prefix_ / "drive_c" / name, folder / name);
    }
    const fs::path link = prefix_ / "dosdevices" / (std::string(1, letter) + ":");
    fs::remove(link);
    fs::create_directory_symlink(fs::absolute(folder), link);
  }

  // Stores the default value of the IDE's App Paths key as raw bytes, so that a value without
  // its NUL can be stored too; no value deletes the key.
  void setIdePath(const std::vector<std::string>& value) {
    const std::string key =
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IDE.exe]\r\n";
    std::string reg = "REGEDIT4\r\n\r\n[-" + key;
    if (!value.empty()) {
      reg += "[" + key + "@=hex(1):";
      for (unsigned char c : value[0] + (value.size() < 2 ? std::string(1, '\0') : ""))
        reg += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15], ','};
      reg.back() = '\r';
      reg += "\n";
    }
    if (reg == reg_)
      return;
    writeBytes(root_.path() / "ide.reg", reg);
    if (wine({"regedit", "/S", windowsPathOf(root_.path() / "ide.reg")}).status != 0)
      throw std::runtime_error("regedit failed");
    reg_ = reg;
  }

  // Runs exe in the first of cwds (C:\work). With more, the run goes through cmd, which keeps a
  // current directory per drive it changes to; the first line's drive comes last.
  RunResult run(const std::string& exe, const std::vector<std::string>& args,
                const std::vector<std::string>& cwds, const fs::path& scratch) {
    std::vector<std::string> commandLine = {windowsPathOf(exe)};
    commandLine.insert(commandLine.end(), args.begin(), args.end());
    if (cwds.size() == 1) {
      const std::string drive(1, static_cast<char>(std::tolower(cwds[0][0])));
      return runProgram(loader_, commandLine,
                        scratch / replaceAll(drive + cwds[0].substr(2), "\\", "/"));
    }
    std::string batch = "@echo off\r\n";
    for (auto dir = cwds.rbegin(); dir != cwds.rend(); ++dir)
      batch += "cd /d " + quoted(*dir) + "\r\n";
    for (const std::string& word : commandLine)
      batch += quoted(word) + " ";
    writeBytes(root_.path() / "run.bat", batch + "\r\n");
    return wine({"cmd", "/c", windowsPathOf(root_.path() / "run.bat")});
  }

 private:
  explicit Wine(const fs::path& loader)
      : loader_(loader), server_(loader.parent_path() / "wineserver") {
    fs::create_directory(prefix_);
    setenv("WINEPREFIX", prefix_.c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no .NET or HTML engine installers
    setenv("DISPLAY", "", 1);
    runProgram(server_, {"-p5"}, root_.path());  // one server for the run: programs start at once
    if (wine({"wineboot", "-i"}).status != 0 || !fs::exists(prefix_ / "drive_c/windows"))
      throw std::runtime_error("wineboot -i failed in " + prefix_.string());
    for (const auto& entry : fs::directory_iterator(prefix_ / "drive_c"))
      system_.push_back(entry.path().filename().string());
  }
  RunResult wine(const std::vector<std::string>& args) {
    return runProgram(loader_, args, root_.path());
  }

  std::string loader_, server_, reg_;
  TempFolder root_;
  fs::path prefix_ = root_.path() / "prefix";
  std::vector<std::string> system_;  // Windows' own folders, linked into every C:
};

// Everything below a folder: a folder as "/", a link as its target, a file as its bytes.
// A missing folder reads as empty.
std::map<std::string, std::string> snapshot(const fs::path& root) {
  std::map<std::string, std::string> tree;
  std::error_code missing;
  for (auto it = fs::recursive_directory_iterator(
           root, fs::directory_options::skip_permission_denied, missing);
       it != fs::recursive_directory_iterator(); ++it) {
    const fs::file_status status = it->symlink_status();
    std::string& what = tree[it->path().lexically_relative(root).generic_string()];
    if (fs::is_symlink(status)) {
      what = "-> " + fs::read_symlink(it->path()).string();
    } else if (fs::is_directory(status)) {
      what = "/";
    } else {
      what = fs::is_regular_file(status) ? "= " + readBytes(it->path()) : "?";
    }
  }
  return tree;
}

// text with {TMP}, {EXAMPLES} and {REAL} replaced (expand) or put back (!expand).
std::string placeholders(std::string text, const std::string& tmp, bool expand) {
  const std::string places[][2] = {
      {"{TMP}", tmp}, {"{EXAMPLES}", TESSMARK_EXAMPLES_DIR}, {"{REAL}", TESSMARK_REAL_WORLD_DIR}};
  for (const auto& place : places)
    text = replaceAll(text, place[expand ? 0 : 1], place[expand ? 1 : 0]);
  return text;
}

// Applies the case's verbs; they decide how the converter is run.
ChildLimits applySetup(const fs::path& setupFile, const fs::path& scratch) {
  ChildLimits limits;
#ifndef __SANITIZE_ADDRESS__
  // A converter that reads an endless device must not take the machine with it.
  limits.memory = 4ul << 30;
#endif
  for (const std::string& line : readLines(setupFile)) {
    std::istringstream words(placeholders(line, scratch.string(), true));
    std::string verb, path, target;
    words >> verb >> path >> target;
    const fs::path at = scratch / path;
    fs::create_directories(at.parent_path());
    if (verb == "fifo" && mkfifo(at.c_str(), 0644) != 0)
      throw std::runtime_error("mkfifo failed: " + at.string());
    if (verb == "link")
      fs::create_symlink(target, at);
    if (verb == "fsize")
      limits.fileSize = std::stoull(path);
    if (verb == "env")
      limits.environment.emplace_back(path, target);
    if (verb == "readonly" || verb == "unlistable") {
      for (const auto& entry : fs::recursive_directory_iterator(scratch)) {
        if (entry.is_directory() && !entry.is_symlink())
          fs::permissions(entry.path(), fs::perms::all);
      }
      fs::permissions(scratch, fs::perms::all);
      fs::permissions(
          at,
          verb == "readonly"
              ? fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write
              : fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
          fs::perm_options::remove);
      limits.asNobody = true;
    }
  }
  return limits;
}

// What a run did, or what its case folder says it must do.
struct Outcome {
  RunResult result;
  std::string folders;                       // made by the run, one per line
  std::string removed;                       // there before the run and gone after it
  std::map<std::string, std::string> files;  // made or changed by the run: path -> bytes
};

Outcome changesOf(const RunResult& result, const std::map<std::string, std::string>& before,
                  const fs::path& scratch) {
  Outcome outcome{result, "", "", {}};
  const std::map<std::string, std::string> after = snapshot(scratch);
  for (const auto& [path, what] : after) {
    const auto old = before.find(path);
    if (what == "/" && old == before.end())
      outcome.folders += path + "\n";
    else if (what != "/" && (old == before.end() || old->second != what))
      outcome.files[path] = what.rfind("= ", 0) == 0 ? what.substr(2) : what;
  }
  for (const auto& entry : before)
    outcome.removed += after.count(entry.first) == 0 ? entry.first + "\n" : "";
  return outcome;
}

Outcome recorded(const fs::path& dir, const std::string& tmp) {
  Outcome outcome{
      {std::stoi(readBytes(dir / "status")), placeholders(readBytes(dir / "stdout"), tmp, true)},
      replaceAll(readBytes(dir / "folders"), "\r", ""),
      replaceAll(readBytes(dir / "removed"), "\r", ""),
      {}};
  for (const auto& [path, what] : snapshot(dir / "expected")) {
    if (what != "/")
      outcome.files[path] = placeholders(what.substr(2), tmp, true);
  }
  return outcome;
}

void writeBack(const fs::path& dir, const Outcome& outcome, const std::string& tmp) {
  writeBytes(dir / "status", std::to_string(outcome.result.status) + "\n");
  fs::remove(dir / "stdout");
  if (!outcome.result.output.empty())
    writeBytes(dir / "stdout", placeholders(outcome.result.output, tmp, false));
  writeBytes(dir / "folders", outcome.folders);
  fs::remove(dir / "removed");
  if (!outcome.removed.empty())
    writeBytes(dir / "removed", outcome.removed);
  fs::remove_all(dir / "expected");
  for (const auto& [path, bytes] : outcome.files) {
    fs::create_directories((dir / "expected" / path).parent_path());
    writeBytes(dir / "expected" / path, placeholders(bytes, tmp, false));
  }
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  std::replace_if(
      name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
  return name;
}

class Cases : public ::testing::TestWithParam<std::string> {};

// Runs the case folder and compares (or writes back) what the run did; a Windows case fails when
// Wine or Tessmark.exe is missing.
TEST_P(Cases, DoWhatTheirFolderRecords) {
  const fs::path caseDir = fs::path(TESSMARK_CASES_DIR) / GetParam();
  const std::string windowsExe = TESSMARK_WINDOWS_EXE;
  const TempFolder tmp;
  const fs::path& scratch = tmp.path();
  if (fs::exists(caseDir / "input"))
    fs::copy(caseDir / "input", scratch, fs::copy_options::recursive);
  const ChildLimits limits = applySetup(caseDir / "setup", scratch);
  std::vector<std::string> args;
  for (const std::string& arg : readLines(caseDir / "args"))
    args.push_back(placeholders(arg, scratch, true));
  RunResult result;
  std::map<std::string, std::string> before;
  if (fs::exists(caseDir / "windows")) {
    Wine* wine = Wine::get();
    if (wine == nullptr || !fs::exists(windowsExe)) {
      const std::string reason = wine ? windowsExe + " was not built (needs mingw-w64)"
                                      : "Wine is missing (apt-get install wine64)";
      if (std::getenv("TESSMARK_REQUIRE_WINDOWS_SUITE") != nullptr)
        FAIL() << "Windows suite FAILED: " << reason;
      GTEST_SKIP() << "Windows suite SKIPPED: " << reason;
    }
    // Windows' own folders are linked into C: before the snapshot, and before Wine needs them.
    wine->mapDrive('c', scratch / "c");
    wine->mapDrive('d', scratch / "d");
    wine->setIdePath(readLines(caseDir / "registry"));
    before = snapshot(scratch);
    result = wine->run(windowsExe, args, readLines(caseDir / "windows"), scratch);
  } else {
    const std::vector<std::string> cwd = readLines(caseDir / "cwd");
    before = snapshot(scratch);
    result = runProgram(TESSMARK_BINARY, args, cwd.empty() ? scratch : scratch / cwd[0], limits);
  }
  const Outcome outcome = changesOf(result, before, scratch);
  if (std::getenv("TESSMARK_UPDATE_CASES") != nullptr)
    return writeBack(caseDir, outcome, scratch);
  const Outcome expected = recorded(caseDir, scratch);
  EXPECT_EQ(expected.result.status, outcome.result.status);
  EXPECT_EQ(expected.result.output, outcome.result.output);
  EXPECT_EQ(expected.folders, outcome.folders);
  EXPECT_EQ(expected.removed, outcome.removed);
  EXPECT_EQ(expected.files, outcome.files);
}

INSTANTIATE_TEST_SUITE_P(Linux, Cases,
                         ::testing::ValuesIn(caseNames(TESSMARK_CASES_DIR, "windows", false)),
                         testName);
INSTANTIATE_TEST_SUITE_P(Windows, Cases,
                         ::testing::ValuesIn(caseNames(TESSMARK_CASES_DIR, "windows", true)),
                         testName);

std::vector<std::string> corpusFiles() {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(TESSMARK_REAL_WORLD_DIR)) {
    if (entry.path().extension() == ".ewp" || entry.path().extension() == ".eww")
      files.push_back(fs::relative(entry.path(), TESSMARK_REAL_WORLD_DIR).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The file names that the file elements of a source list, in the source and in the projects a
// workspace lists.
std::vector<std::string> listedFileNames(const std::string& source) {
  static const std::regex entry(R"(<path>\$WS_DIR\$[\\/]([^<]*)</path>)");
  static const std::regex name(R"(<file>\s*<name>\s*(?:[^<]*[\\/])?([^<\\/]*?)\s*</name>)");
  std::vector<std::string> files = {source}, names;
  const std::string workspace = readBytes(source);
  for (std::sregex_iterator it(workspace.begin(), workspace.end(), entry), end; it != end; ++it) {
    files.push_back(fs::path(source).parent_path() /
                    std::regex_replace((*it)[1].str(), std::regex(R"(\\)"), "/"));
  }
  for (const std::string& file : files) {
    const std::string text = readBytes(file);
    for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end; ++it)
      names.push_back((*it)[1]);
  }
  return names;
}

// A file name as a pattern: its variables match any name.
std::string namePattern(const std::string& name) {
  static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
  const std::string escaped = std::regex_replace(name, special, R"(\$&)");
  return std::regex_replace(escaped, std::regex(R"(\\\$\w+\\\$)"), "[^/\r\n]*");
}

class RealWorld : public ::testing::TestWithParam<std::string> {};

TEST_P(RealWorld, ConvertsToItsEndWithEveryFileListed) {
  const std::string source = fs::path(TESSMARK_REAL_WORLD_DIR) / GetParam();
  TempFolder tmp;
  fs::create_directory(tmp.path() / "out");
  const RunResult result = runProgram(TESSMARK_BINARY, {source, "out", "", "-pn", "k"}, tmp.path());
  EXPECT_EQ(0, result.status) << result.output;
  EXPECT_EQ(std::string::npos, result.output.find("unexpected")) << result.output;
  EXPECT_NE(std::string::npos, result.output.find("Korval/Korval++ Project Completed!"));
  const std::string prj = "\n" + readBytes(tmp.path() / "out/k.prj");
  EXPECT_EQ(std::string::npos, prj.find("\n\r\n")) << "an empty line in the project file";
  for (const std::string& name : listedFileNames(source)) {
    // A custom variable in a name stands for a value of the workspace's variable file.
    const std::regex listed("[/\n]" + namePattern(name) + "\r\n");
    EXPECT_TRUE(std::regex_search(prj, listed)) << name << " is not in the project file";
  }
  for (const auto& file : fs::recursive_directory_iterator(tmp.path() / "out")) {
    for (const std::string& line :
         file.path().extension() == ".p_a" ? readLines(file.path()) : std::vector<std::string>())
      EXPECT_TRUE(std::regex_match(line, std::regex(R"(-[id] "[^\r\n]*")"))) << line;
  }
}

// Empty where the corpus is not beside the repository.
INSTANTIATE_TEST_SUITE_P(Corpus, RealWorld,
                         ::testing::ValuesIn(fs::exists(TESSMARK_REAL_WORLD_DIR)
                                                 ? corpusFiles()
                                                 : std::vector<std::string>()),
                         testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RealWorld);

}  // namespace
