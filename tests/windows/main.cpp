// Runs the Windows suite in one Wine prefix. Without Wine or without Tessmark.exe (no cross
// compiler at configure time) it says why and exits with 77, which CTest reports as skipped;
// with TESSMARK_REQUIRE_WINDOWS_SUITE=1 (as in CI) that is a failure instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "suite.h"

namespace tessmark_test {
namespace {

std::unique_ptr<WinePrefix> prefix;

// Why the suite cannot run here; empty when it can.
std::string missingRequirement(const std::string& wine) {
  if (std::string(windowsExe()).empty()) {
    return "x86_64-w64-mingw32-g++-posix was not found when the build was configured "
           "(apt-get install g++-mingw-w64-x86-64-posix, then configure again)";
  }
  if (!std::filesystem::exists(windowsExe()))
    return std::string(windowsExe()) + " has not been built";
  if (wine.empty() && std::getenv("TESSMARK_WINE") != nullptr)
    return std::string("TESSMARK_WINE=") + std::getenv("TESSMARK_WINE") + " is not a program";
  if (wine.empty())
    return "Wine is not installed (apt-get install wine64)";
  return "";
}

}  // namespace

WinePrefix& suitePrefix() {
  return *prefix;
}

}  // namespace tessmark_test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string wine = tessmark_test::findWine();
  const std::string missing = tessmark_test::missingRequirement(wine);
  if (!missing.empty()) {
    const char* require = std::getenv("TESSMARK_REQUIRE_WINDOWS_SUITE");
    const bool required = require != nullptr && std::string(require) == "1";
    std::cout << "Windows suite " << (required ? "FAILED" : "SKIPPED") << ": " << missing
              << std::endl;
    return required ? 1 : 77;
  }
  std::cout << "Windows suite: " << wine << ", Tessmark.exe " << tessmark_test::windowsExe()
            << std::endl;
  tessmark_test::prefix = std::make_unique<tessmark_test::WinePrefix>(wine);
  const int result = RUN_ALL_TESTS();
  tessmark_test::prefix.reset();
  return result;
}
