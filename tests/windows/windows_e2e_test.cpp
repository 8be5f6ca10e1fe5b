// Every folder under tests/windows/cases is one run of Tessmark.exe under Wine, compared byte
// for byte (see windows_case.h). With TESSMARK_UPDATE_CASES=1 a run writes what it saw back into
// its case folder instead, for review by hand before the case is committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "parity.h"
#include "suite.h"
#include "windows_case.h"

namespace fs = std::filesystem;

namespace tessmark_test {
namespace {

// expected/c/out/app.prj for C:\out\app.prj.
fs::path expectedFile(const fs::path& caseDir, const std::string& windowsPath) {
  const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
  return caseDir / "expected" / std::string(1, drive) /
         replaceAll(windowsPath.substr(3), "\\", "/");
}

void writeBack(const fs::path& caseDir, const Outcome& outcome) {
  writeBytes(caseDir / "status", std::to_string(outcome.status) + "\n");
  writeBytes(caseDir / "stdout", outcome.output);
  std::string folders;
  for (const std::string& folder : outcome.folders)
    folders += folder + "\n";
  writeBytes(caseDir / "folders", folders);
  fs::remove_all(caseDir / "expected");
  for (const auto& file : outcome.files) {
    const fs::path target = expectedFile(caseDir, file.first);
    fs::create_directories(target.parent_path());
    writeBytes(target, file.second);
  }
}

void expectMatchesCase(const fs::path& caseDir, const Outcome& outcome) {
  EXPECT_EQ(std::stoi(readBytes(caseDir / "status")), outcome.status);
  EXPECT_EQ(readBytes(caseDir / "stdout"), outcome.output);
  EXPECT_EQ(readLines(caseDir / "folders"), outcome.folders);
  std::vector<std::string> expectedFolders, expectedFiles, files;
  listTree(caseDir / "expected", &expectedFolders, &expectedFiles);
  for (const auto& file : outcome.files)
    files.push_back(file.first);
  std::vector<std::string> expectedPaths;
  for (const std::string& relative : expectedFiles) {
    const std::string drive(1, static_cast<char>(std::toupper(relative[0])));
    expectedPaths.push_back(drive + ":\\" + replaceAll(relative.substr(2), "/", "\\"));
  }
  std::sort(expectedPaths.begin(), expectedPaths.end());
  EXPECT_EQ(expectedPaths, files);
  for (const auto& file : outcome.files) {
    const fs::path expected = expectedFile(caseDir, file.first);
    if (fs::exists(expected)) {
      EXPECT_EQ(readBytes(expected), file.second) << "file " << file.first;
    }
  }
}

// The Linux build on the same inputs, with the paths mapped.
void expectLinuxParity(const WindowsCase& c, const Outcome& windows) {
  TempFolder scratch;
  const Outcome linux = runOnLinux(c, linuxExe(), scratch.path());
  expectParity(windows, linux, {{'c', scratch.path() / "c"}, {'d', scratch.path() / "d"}});
}

class WindowsEndToEnd : public ::testing::TestWithParam<std::string> {};

TEST_P(WindowsEndToEnd, MatchesExpectedOutputAndFiles) {
  const WindowsCase c = loadCase(fs::path(TESSMARK_WINDOWS_CASES_DIR) / GetParam());
  TempFolder scratch;
  const Outcome windows = runOnWindows(suitePrefix(), c, windowsExe(), scratch.path());
  if (std::getenv("TESSMARK_UPDATE_CASES") != nullptr)
    return writeBack(c.dir, windows);
  expectMatchesCase(c.dir, windows);
  if (c.parity)
    expectLinuxParity(c, windows);
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowsEndToEnd,
                         ::testing::ValuesIn(subfolderNames(TESSMARK_WINDOWS_CASES_DIR)),
                         [](const auto& info) { return testNameOf(info.param); });

}  // namespace
}  // namespace tessmark_test
