// Every IAR workspace and project of the real-world corpus beside the repository converts to its
// end, and every source file it lists reaches the Korval project file.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "e2e_runner.h"

namespace fs = std::filesystem;

namespace tessmark_test {
namespace {

std::vector<std::string> corpusFiles() {
  std::vector<std::string> files;
  if (!fs::exists(TESSMARK_REAL_WORLD_DIR))
    return files;
  for (const auto& entry : fs::recursive_directory_iterator(TESSMARK_REAL_WORLD_DIR)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".ewp" || extension == ".eww")
      files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The file names (after the last separator) of every file element of a project.
std::set<std::string> listedFileNames(const std::string& project) {
  static const std::regex fileName(R"(<file>\s*<name>([^<]*)</name>)");
  std::set<std::string> names;
  const std::string text = readBytes(project);
  for (std::sregex_iterator it(text.begin(), text.end(), fileName), end; it != end; ++it) {
    const std::string path = (*it)[1];
    names.insert(path.substr(path.find_last_of("\\/") + 1));
  }
  return names;
}

std::vector<std::string> projectsOf(const std::string& source) {
  if (fs::path(source).extension() == ".ewp")
    return {source};
  static const std::regex projectPath(R"(<path>\$WS_DIR\$[\\/]([^<]*)</path>)");
  std::vector<std::string> projects;
  const std::string text = readBytes(source);
  for (std::sregex_iterator it(text.begin(), text.end(), projectPath), end; it != end; ++it) {
    std::string relative = (*it)[1];
    std::replace(relative.begin(), relative.end(), '\\', '/');
    projects.push_back((fs::path(source).parent_path() / relative).string());
  }
  return projects;
}

class RealWorld : public ::testing::TestWithParam<std::string> {};

TEST_P(RealWorld, ConvertsToItsEndWithEveryFileListed) {
  TempFolder tmp;
  const RunResult result = runProgram(TESSMARK_BINARY, {GetParam(), "out", "", "-pn", "k"},
                                      (fs::create_directory(tmp.path() / "out"), tmp.path()));
  EXPECT_EQ(0, result.status) << result.output;
  EXPECT_EQ(std::string::npos, result.output.find("unexpected")) << result.output;
  EXPECT_NE(std::string::npos, result.output.find("Korval/Korval++ Project Completed!"));

  const std::string prj = readBytes(tmp.path() / "out" / "k.prj");
  std::set<std::string> missing;
  for (const std::string& project : projectsOf(GetParam())) {
    ASSERT_TRUE(fs::exists(project)) << project;
    for (const std::string& name : listedFileNames(project)) {
      if (prj.find("/" + name + "\r\n") == std::string::npos &&
          prj.find("\n" + name + "\r\n") == std::string::npos) {
        missing.insert(name);
      }
    }
  }
  EXPECT_TRUE(missing.empty()) << "not in the project file: " << *missing.begin();
  EXPECT_EQ(std::string::npos, ("\n" + prj).find("\n\r\n")) << "an empty line in the project file";
  // Every line a value from the IAR file makes is whole: no value breaks a personality line.
  static const std::regex entry(R"(-[id] "[^\r\n]*")");
  for (const auto& file : fs::recursive_directory_iterator(tmp.path() / "out")) {
    if (file.path().extension() != ".p_a")
      continue;
    for (const std::string& line : readLines(file.path()))
      EXPECT_TRUE(std::regex_match(line, entry)) << file.path() << ": " << line;
  }
}

TEST(RealWorldCorpus, IsPresent) {
  if (corpusFiles().empty())
    GTEST_SKIP() << "no real-world corpus at " TESSMARK_REAL_WORLD_DIR;
  EXPECT_GT(corpusFiles().size(), 40u);
}

INSTANTIATE_TEST_SUITE_P(Corpus, RealWorld, ::testing::ValuesIn(corpusFiles()),
                         [](const auto& info) {
                           return testNameOf(
                               fs::relative(info.param, TESSMARK_REAL_WORLD_DIR).string());
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RealWorld);

}  // namespace
}  // namespace tessmark_test
