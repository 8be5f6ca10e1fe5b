// Every IAR workspace and project of the real-world corpus beside the repository converts to its
// end, every source file it lists reaches the Korval project file, and no value breaks a line.
#include <gtest/gtest.h>

#include <regex>

#include "e2e_runner.h"

namespace fs = std::filesystem;

namespace tessmark_test {
namespace {

std::vector<std::string> corpusFiles() {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(TESSMARK_REAL_WORLD_DIR)) {
    if (entry.path().extension() == ".ewp" || entry.path().extension() == ".eww")
      files.push_back(entry.path().string());
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

class RealWorld : public ::testing::TestWithParam<std::string> {};

TEST_P(RealWorld, ConvertsToItsEndWithEveryFileListed) {
  TempFolder tmp;
  fs::create_directory(tmp.path() / "out");
  const RunResult result =
      runProgram(TESSMARK_BINARY, {GetParam(), "out", "", "-pn", "k"}, tmp.path());
  EXPECT_EQ(0, result.status) << result.output;
  EXPECT_EQ(std::string::npos, result.output.find("unexpected")) << result.output;
  EXPECT_NE(std::string::npos, result.output.find("Korval/Korval++ Project Completed!"));
  const std::string prj = "\n" + readBytes(tmp.path() / "out/k.prj");
  EXPECT_EQ(std::string::npos, prj.find("\n\r\n")) << "an empty line in the project file";
  for (const std::string& name : listedFileNames(GetParam())) {
    EXPECT_TRUE(prj.find("/" + name + "\r\n") != std::string::npos ||
                prj.find("\n" + name + "\r\n") != std::string::npos)
        << name << " is not in the project file";
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
                         [](const auto& info) {
                           std::string name = fs::relative(info.param, TESSMARK_REAL_WORLD_DIR);
                           for (char& c : name)
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RealWorld);

}  // namespace
}  // namespace tessmark_test
