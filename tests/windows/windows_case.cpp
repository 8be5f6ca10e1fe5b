#include "windows_case.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace fs = std::filesystem;

namespace tessmark_test {
namespace {

const char kDrives[] = {'c', 'd'};

std::string driveName(char letter) {
  return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))) + ":";
}

// Fresh folders for C: and D: below scratch, holding the case's inputs.
void prepareDrives(const WindowsCase& c, const fs::path& scratch) {
  for (char letter : kDrives) {
    const fs::path folder = scratch / std::string(1, letter);
    fs::create_directories(folder);
    const fs::path input = c.dir / "input" / std::string(1, letter);
    if (fs::exists(input))
      fs::copy(input, folder, fs::copy_options::recursive);
  }
}

void collectDrives(const WindowsCase& c, const fs::path& scratch,
                   const std::set<std::string>& ignoredOnC, Outcome* outcome) {
  for (char letter : kDrives) {
    collectDrive(letter, scratch / std::string(1, letter), c.dir / "input" / std::string(1, letter),
                 letter == 'c' ? ignoredOnC : std::set<std::string>(), outcome);
  }
}

// cmd gives each drive it changes to its own current directory; the first line comes last, so
// that its drive is the current one.
std::vector<std::string> batchLines(const WindowsCase& c, const std::string& exe) {
  std::vector<std::string> lines;
  for (auto dir = c.cwd.rbegin(); dir != c.cwd.rend(); ++dir)
    lines.push_back("cd /d " + quoteForBatch(*dir));
  std::string command = quoteForBatch(windowsPathOf(exe));
  for (const std::string& arg : c.args)
    command += " " + quoteForBatch(arg);
  lines.push_back(command);
  return lines;
}

// Relative paths (with /) of the folders and of everything else below root, without following
// links: the links to Windows' own folders stay single entries.
void listEntries(const fs::path& root, std::vector<std::string>* folders,
                 std::vector<std::string>* files) {
  if (root.empty() || !fs::exists(root))
    return;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string relative = entry.path().lexically_relative(root).generic_string();
    const bool isFolder = entry.is_directory() && !entry.is_symlink();
    (isFolder ? folders : files)->push_back(relative);
  }
}

}  // namespace

WindowsCase loadCase(const fs::path& dir) {
  WindowsCase c;
  c.dir = dir;
  c.args = readLines(dir / "args");
  c.cwd = readLines(dir / "cwd");
  if (c.cwd.empty())
    throw std::runtime_error("case without cwd: " + dir.string());
  if (fs::exists(dir / "registry"))
    c.registry = readLines(dir / "registry").at(0);
  c.parity = fs::exists(dir / "parity");
  return c;
}

Outcome runOnWindows(WinePrefix& wine, const WindowsCase& c, const std::string& exe,
                     const fs::path& scratch) {
  prepareDrives(c, scratch);
  for (char letter : kDrives)
    wine.mapDrive(letter, scratch / std::string(1, letter));
  wine.setIdePath(c.registry);
  RunResult result;
  if (c.cwd.size() == 1) {
    std::vector<std::string> commandLine = {windowsPathOf(exe)};
    commandLine.insert(commandLine.end(), c.args.begin(), c.args.end());
    result = wine.run(commandLine, linuxPathOf(c.cwd[0], scratch));
  } else {
    result = wine.runBatch(batchLines(c, exe));
  }
  Outcome outcome{result.status, result.output, {}, {}};
  collectDrives(c, scratch, wine.systemEntries(), &outcome);
  return outcome;
}

Outcome runOnLinux(const WindowsCase& c, const std::string& exe, const fs::path& scratch) {
  prepareDrives(c, scratch);
  std::vector<std::string> args;
  for (const std::string& arg : c.args)
    args.push_back(linuxPathOf(arg, scratch));
  const RunResult result = runProgram(exe, args, linuxPathOf(c.cwd[0], scratch));
  Outcome outcome{result.status, result.output, {}, {}};
  collectDrives(c, scratch, {}, &outcome);
  return outcome;
}

std::string linuxPathOf(const std::string& windowsPath, const fs::path& scratch) {
  std::string path = windowsPath;
  for (char letter : kDrives) {
    if (path.rfind(driveName(letter) + "\\", 0) == 0)
      path = (scratch / std::string(1, letter)).string() + "/" + path.substr(3);
  }
  return replaceAll(path, "\\", "/");
}

void collectDrive(char letter, const fs::path& folder, const fs::path& input,
                  const std::set<std::string>& ignored, Outcome* outcome) {
  std::vector<std::string> folders, files, inputFolders, inputFiles;
  listEntries(folder, &folders, &files);
  listEntries(input, &inputFolders, &inputFiles);
  const auto isIgnored = [&](const std::string& relative) {
    return ignored.count(relative.substr(0, relative.find('/'))) > 0;
  };
  const auto windowsPath = [&](const std::string& relative) {
    return driveName(letter) + "\\" + replaceAll(relative, "/", "\\");
  };
  for (const std::string& relative : folders) {
    const bool fromInput =
        std::find(inputFolders.begin(), inputFolders.end(), relative) != inputFolders.end();
    if (!isIgnored(relative) && !fromInput)
      outcome->folders.push_back(windowsPath(relative));
  }
  std::sort(outcome->folders.begin(), outcome->folders.end());
  for (const std::string& relative : files) {
    if (isIgnored(relative))
      continue;
    const std::string bytes = readBytes(folder / relative);
    const bool inInput = !input.empty() && fs::exists(input / relative);
    if (!inInput || readBytes(input / relative) != bytes)
      outcome->files[windowsPath(relative)] = bytes;
  }
}

std::string neutralWindowsText(std::string text, const DriveFolders& drives) {
  for (const auto& drive : drives)
    text = replaceAll(text, driveName(drive.first) + "\\", "{" + driveName(drive.first) + "}\\");
  return replaceAll(text, "\\", "/");
}

std::string neutralLinuxText(std::string text, const DriveFolders& drives) {
  for (const auto& drive : drives)
    text = replaceAll(text, drive.second.string() + "/", "{" + driveName(drive.first) + "}/");
  return replaceAll(text, "\\", "/");
}

}  // namespace tessmark_test
