// Every folder under tests/cases is one run of the real Tessmark binary; see e2e_runner.h.
// With TESSMARK_UPDATE_CASES=1 a run writes what it saw back into its case folder instead of
// comparing, for reviewing a new case by hand before it is committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "e2e_runner.h"

namespace fs = std::filesystem;

namespace tessmark_test {
namespace {

class EndToEnd : public ::testing::TestWithParam<std::string> {
 protected:
  fs::path caseDir() const { return fs::path(TESSMARK_CASES_DIR) / GetParam(); }
  std::string withTmp(const std::string& text) const {
    return replaceAll(replaceAll(text, "{TMP}", tmp_.path().string()), "{EXAMPLES}",
                      TESSMARK_EXAMPLES_DIR);
  }
  std::string asPlaceholder(const std::string& text) const {
    return replaceAll(replaceAll(text, tmp_.path().string(), "{TMP}"), TESSMARK_EXAMPLES_DIR,
                      "{EXAMPLES}");
  }
  void writeBack(const RunResult& result, const std::vector<std::string>& folders,
                 const std::vector<std::string>& files) const;

  TempFolder tmp_;
};

void EndToEnd::writeBack(const RunResult& result, const std::vector<std::string>& folders,
                         const std::vector<std::string>& files) const {
  writeBytes(caseDir() / "status", std::to_string(result.status) + "\n");
  if (result.output.empty()) {
    fs::remove(caseDir() / "stdout");
  } else {
    writeBytes(caseDir() / "stdout", asPlaceholder(result.output));
  }
  std::string folderList;
  for (const std::string& folder : folders)
    folderList += folder + "\n";
  writeBytes(caseDir() / "folders", folderList);
  fs::remove_all(caseDir() / "expected");
  for (const std::string& file : files) {
    const fs::path target = caseDir() / "expected" / file;
    fs::create_directories(target.parent_path());
    writeBytes(target, asPlaceholder(readBytes(tmp_.path() / file)));
  }
}

// What the run made: everything in the temporary folder that input/ did not hold.
void newEntries(const fs::path& input, const fs::path& root, std::vector<std::string>* folders,
                std::vector<std::string>* files) {
  std::vector<std::string> inputFolders, inputFiles, allFolders, allFiles;
  listTree(input, &inputFolders, &inputFiles);
  listTree(root, &allFolders, &allFiles);
  std::set_difference(allFolders.begin(), allFolders.end(), inputFolders.begin(),
                      inputFolders.end(), std::back_inserter(*folders));
  for (const std::string& file : allFiles) {
    const bool unchangedInput =
        fs::exists(input / file) && readBytes(input / file) == readBytes(root / file);
    if (!unchangedInput)
      files->push_back(file);
  }
}

TEST_P(EndToEnd, MatchesExpectedOutputAndFiles) {
  const fs::path input = caseDir() / "input";
  if (fs::exists(input))
    fs::copy(input, tmp_.path(), fs::copy_options::recursive);
  std::vector<std::string> args;
  for (const std::string& arg : readLines(caseDir() / "args"))
    args.push_back(withTmp(arg));
  fs::path cwd = tmp_.path();
  if (fs::exists(caseDir() / "cwd"))
    cwd /= readLines(caseDir() / "cwd").at(0);

  const RunResult result = runProgram(TESSMARK_BINARY, args, cwd);

  std::vector<std::string> folders, files;
  newEntries(input, tmp_.path(), &folders, &files);
  if (std::getenv("TESSMARK_UPDATE_CASES") != nullptr)
    return writeBack(result, folders, files);

  EXPECT_EQ(std::stoi(readBytes(caseDir() / "status")), result.status);
  const fs::path expectedOutput = caseDir() / "stdout";
  EXPECT_EQ(fs::exists(expectedOutput) ? withTmp(readBytes(expectedOutput)) : "", result.output);
  EXPECT_EQ(readLines(caseDir() / "folders"), folders);
  std::vector<std::string> expectedFolders, expectedFiles;
  listTree(caseDir() / "expected", &expectedFolders, &expectedFiles);
  EXPECT_EQ(expectedFiles, files);
  for (const std::string& file : expectedFiles) {
    if (!fs::exists(tmp_.path() / file))
      continue;
    EXPECT_EQ(withTmp(readBytes(caseDir() / "expected" / file)), readBytes(tmp_.path() / file))
        << "file " << file;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEnd, ::testing::ValuesIn(subfolderNames(TESSMARK_CASES_DIR)),
                         [](const auto& info) { return testNameOf(info.param); });

}  // namespace
}  // namespace tessmark_test
