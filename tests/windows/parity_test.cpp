// The fixture trees that are not Windows cases, converted by both builds and compared: every
// workspace of the real IAR files beside the repository, and of the bundled example.
#include "parity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "suite.h"

namespace fs = std::filesystem;

namespace tessmark_test {

namespace {

// Windows ignores the case of file names: groups named include and Include share one folder
// there, two on Linux. Folders are therefore compared without regard to case.
std::set<std::string> foldedFolders(const std::vector<std::string>& folders) {
  std::set<std::string> folded;
  for (std::string folder : folders) {
    std::transform(folder.begin(), folder.end(), folder.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    folded.insert(folder);
  }
  return folded;
}

}  // namespace

void expectParity(const Outcome& windows, const Outcome& linux, const DriveFolders& drives) {
  EXPECT_EQ(std::string::npos, replaceAll(windows.output, "\r\n", "").find('\n'))
      << "a console line without CR LF:\n"
      << windows.output;
  EXPECT_EQ(windows.status, linux.status);
  EXPECT_EQ(neutralWindowsText(replaceAll(windows.output, "\r\n", "\n"), drives),
            neutralLinuxText(linux.output, drives));
  EXPECT_EQ(foldedFolders(windows.folders), foldedFolders(linux.folders));
  for (const auto& file : windows.files) {
    EXPECT_EQ(1u, linux.files.count(file.first)) << file.first << " only on Windows";
    if (linux.files.count(file.first) == 1) {
      EXPECT_EQ(neutralWindowsText(file.second, drives),
                neutralLinuxText(linux.files.at(file.first), drives))
          << "file " << file.first;
    }
  }
  for (const auto& file : linux.files)
    EXPECT_EQ(1u, windows.files.count(file.first)) << file.first << " only on Linux";
}

namespace {

std::vector<fs::path> workspacesBelow(const fs::path& root) {
  std::vector<fs::path> workspaces;
  if (!fs::exists(root))
    return workspaces;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file() && entry.path().extension() == ".eww")
      workspaces.push_back(entry.path());
  }
  std::sort(workspaces.begin(), workspaces.end());
  return workspaces;
}

// Converts root/relative with both builds into a folder out of their own, which is O:\out under
// Wine, while root is R:. C: stays out of the comparison, because real IAR files name folders on
// C: themselves.
void expectWorkspaceParity(const fs::path& root, const fs::path& workspace) {
  SCOPED_TRACE(workspace.string());
  const std::string relative = fs::relative(workspace, root).string();
  TempFolder windowsScratch, linuxScratch;
  const fs::path windowsO = windowsScratch.path() / "o", linuxO = linuxScratch.path() / "o";
  fs::create_directories(windowsScratch.path() / "c");
  fs::create_directories(windowsO / "out");
  fs::create_directories(linuxO / "out");

  WinePrefix& wine = suitePrefix();
  wine.mapDrive('c', windowsScratch.path() / "c");
  wine.mapDrive('o', windowsO);
  wine.mapDrive('r', root);
  wine.setIdePath(std::nullopt);
  const RunResult onWindows = wine.run(
      {windowsPathOf(windowsExe()), "R:\\" + replaceAll(relative, "/", "\\"), "O:\\out", "IAR"},
      windowsO);
  const RunResult onLinux =
      runProgram(linuxExe(), {workspace.string(), (linuxO / "out").string(), "IAR"}, linuxO);

  Outcome windows{onWindows.status, onWindows.output, {}, {}};
  Outcome linux{onLinux.status, onLinux.output, {}, {}};
  collectDrive('o', windowsO, fs::path(), {}, &windows);
  collectDrive('o', linuxO, fs::path(), {}, &linux);
  EXPECT_FALSE(windows.files.empty()) << "nothing written:\n" << windows.output;
  expectParity(windows, linux, {{'o', linuxO}, {'r', root}});
}

TEST(LinuxWindowsParity, RealWorldWorkspaces) {
  const std::vector<fs::path> workspaces = workspacesBelow(TESSMARK_REAL_WORLD_DIR);
  if (workspaces.empty())
    GTEST_SKIP() << "no workspaces in " << TESSMARK_REAL_WORLD_DIR;
  for (const fs::path& workspace : workspaces)
    expectWorkspaceParity(TESSMARK_REAL_WORLD_DIR, workspace);
}

TEST(LinuxWindowsParity, BundledExampleWorkspaces) {
  const std::vector<fs::path> workspaces = workspacesBelow(TESSMARK_EXAMPLES_DIR);
  if (workspaces.empty())
    GTEST_SKIP() << "no workspaces in " << TESSMARK_EXAMPLES_DIR;
  for (const fs::path& workspace : workspaces)
    expectWorkspaceParity(TESSMARK_EXAMPLES_DIR, workspace);
}

}  // namespace
}  // namespace tessmark_test
