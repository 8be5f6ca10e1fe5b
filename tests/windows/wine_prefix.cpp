#include "wine_prefix.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tessmark_test {
namespace {

const char kIdeKey[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IDE.exe";

std::string findOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos)
      end = folders.size();
    const fs::path candidate = fs::path(folders.substr(start, end - start)) / name;
    if (end > start && access(candidate.c_str(), X_OK) == 0)
      return candidate.string();
    start = end + 1;
  }
  return "";
}

// The wineserver that belongs to the loader: beside it (Debian keeps both in /usr/lib/wine),
// else the one on the PATH.
std::string findWineserver(const std::string& wine) {
  const fs::path folder = fs::canonical(wine).parent_path();
  for (const char* name : {"wineserver64", "wineserver"}) {
    if (access((folder / name).c_str(), X_OK) == 0)
      return (folder / name).string();
  }
  return findOnPath("wineserver");
}

// Quiet and fast: no debug channels, no .NET or HTML engine installers, no display.
void setWineEnvironment(const fs::path& prefix) {
  setenv("WINEPREFIX", prefix.c_str(), 1);
  setenv("WINEDEBUG", "-all", 1);
  setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
  setenv("DISPLAY", "", 1);
  unsetenv("WAYLAND_DISPLAY");
}

// Runs a program with its standard output in a file, read once the program has ended, and its
// standard error appended to another; standard input is empty. Wine leaves processes behind
// (wineserver, services.exe) that would hold a pipe open, so a reader waiting for the end of a
// pipe, this suite's or CTest's, would wait for them.
RunResult runToFile(const std::string& program, const std::vector<std::string>& args,
                    const fs::path& cwd, const fs::path& scratch) {
  const fs::path output = scratch / "stdout.txt", errors = scratch / "stderr.txt";
  const pid_t pid = fork();
  if (pid < 0)
    throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
        chdir(cwd.c_str()) != 0) {
      _exit(126);
    }
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  RunResult result;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  result.output = readBytes(output);
  return result;
}

void replaceLink(const fs::path& link, const fs::path& target) {
  fs::remove(link);
  fs::create_directory_symlink(target, link);
}

}  // namespace

std::string findWine() {
  if (const char* wine = std::getenv("TESSMARK_WINE"))
    return access(wine, X_OK) == 0 ? wine : "";
  std::string wine = findOnPath("wine64");
  if (wine.empty() && access("/usr/lib/wine/wine64", X_OK) == 0)
    wine = "/usr/lib/wine/wine64";
  return wine.empty() ? findOnPath("wine") : wine;
}

std::string windowsPathOf(const fs::path& linuxPath) {
  return "Z:" + replaceAll(fs::absolute(linuxPath).string(), "/", "\\");
}

std::string quoteForBatch(const std::string& argument) {
  if (argument.find_first_of("\"\r\n%") != std::string::npos)
    throw std::invalid_argument("cannot pass through a batch file: " + argument);
  const size_t trailing = argument.size() - (argument.find_last_not_of('\\') + 1);
  return '"' + argument + std::string(trailing, '\\') + '"';
}

WinePrefix::WinePrefix(const std::string& wine) : wine_(wine), prefix_(root_.path() / "prefix") {
  wineserver_ = findWineserver(wine_);
  if (wineserver_.empty())
    throw std::runtime_error("no wineserver beside " + wine_ + " or on the PATH");
  fs::create_directory(prefix_);
  setWineEnvironment(prefix_);
  // One server for the whole run, so that each program starts in a fraction of a second.
  runWineserver("-p5");
  const RunResult boot = runWine({"wineboot", "-i"}, root_.path());
  if (boot.status != 0 || !fs::exists(prefix_ / "drive_c" / "windows"))
    throw std::runtime_error("wineboot -i failed in " + prefix_.string());
  for (const auto& entry : fs::directory_iterator(prefix_ / "drive_c"))
    systemEntries_.insert(entry.path().filename().string());
}

WinePrefix::~WinePrefix() {
  try {
    runWineserver("-k");
  } catch (...) {
    // The server may be gone already; the prefix is removed either way.
  }
}

void WinePrefix::mapDrive(char letter, const fs::path& folder) {
  if (letter == 'c') {
    for (const std::string& name : systemEntries_) {
      if (!fs::exists(fs::symlink_status(folder / name)))
        fs::create_directory_symlink(prefix_ / "drive_c" / name, folder / name);
    }
  }
  replaceLink(prefix_ / "dosdevices" / (std::string(1, letter) + ":"), fs::absolute(folder));
}

void WinePrefix::setIdePath(const std::optional<std::string>& value) {
  if (value == idePath_)
    return;
  RunResult result = value
                         ? runWine({"reg", "add", kIdeKey, "/ve", "/d", *value, "/f"}, root_.path())
                         : runWine({"reg", "delete", kIdeKey, "/f"}, root_.path());
  if (result.status != 0)
    throw std::runtime_error("reg failed: " + result.output);
  idePath_ = value;
}

RunResult WinePrefix::run(const std::vector<std::string>& commandLine, const fs::path& linuxCwd) {
  return runWine(commandLine, linuxCwd);
}

RunResult WinePrefix::runBatch(const std::vector<std::string>& lines) {
  std::string script = "@echo off\r\n";
  for (const std::string& line : lines)
    script += line + "\r\n";
  const fs::path batch = root_.path() / "run.bat";
  writeBytes(batch, script);
  return runWine({"cmd", "/c", windowsPathOf(batch)}, root_.path());
}

RunResult WinePrefix::runWine(const std::vector<std::string>& arguments, const fs::path& cwd) {
  return runToFile(wine_, arguments, cwd, root_.path());
}

void WinePrefix::runWineserver(const std::string& option) {
  const RunResult result = runToFile(wineserver_, {option}, root_.path(), root_.path());
  if (result.status != 0)
    throw std::runtime_error("wineserver " + option + " failed");
}

}  // namespace tessmark_test
