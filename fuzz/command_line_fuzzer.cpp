// One input is one command line: the arguments after the program name, one per line. They run
// in the sandbox's work folder, beside a project, a workspace and a personality. Absolute
// arguments and ".." are skipped, so whatever the converter is told stays in the work folder;
// anything it makes outside it, or any change to the inputs, is a finding.
#include <algorithm>

#include "fixture_projects.h"
#include "sandbox.h"

namespace fs = std::filesystem;
using namespace tessmark_fuzz;

namespace {

constexpr char kWorkspace[] =
    "<workspace>\r\n  <project>\r\n    <path>$WS_DIR$\\p.ewp</path>\r\n  </project>\r\n"
    "  <project>\r\n    <path>in/sub/q.ewp</path>\r\n  </project>\r\n</workspace>\r\n";

Sandbox& sandbox() {
  static Sandbox box;
  static const bool prepared = [] {
    box.writeInput("in/p.ewp", kConfiguredProject);
    box.writeInput("in/sub/q.ewp", kPlainProject);
    box.writeInput("in/w.eww", kWorkspace);
    box.writeInput("in/pers.txt", kAnalyserPersonality);
    return true;
  }();
  (void)prepared;
  return box;
}

std::vector<std::string> splitArguments(const std::string& text) {
  std::vector<std::string> args;
  size_t start = 0;
  for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', start)) {
    args.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  args.push_back(text.substr(start));
  return args;
}

// Arguments that could name something outside the work folder, or that no argv can hold.
bool leavesTheSandbox(const std::string& arg) {
  return (!arg.empty() && arg[0] == '/') || arg.find("..") != std::string::npos ||
         arg.find('\0') != std::string::npos;
}

constexpr size_t kMaxArguments = 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args =
      splitArguments(std::string(reinterpret_cast<const char*>(data), size));
  if (args.size() > kMaxArguments || std::any_of(args.begin(), args.end(), leavesTheSandbox))
    return -1;
  Sandbox& box = sandbox();
  const Outcome outcome = box.run(args);
  if (args.size() < 3) {
    require(outcome.status == 0 && outcome.lines.size() == 2 &&
                outcome.lines[0].rfind("Usage: ", 0) == 0,
            "fewer than three arguments without the usage lines");
  } else if (outcome.status == 0) {
    require(!outcome.lines.empty() && outcome.lines.back() == "Korval/Korval++ Project Completed!",
            "status 0 without the completed line");
  } else {
    // Only an option without its value fails without a message.
    require(outcome.lines.empty() ||
                std::any_of(outcome.lines.begin(), outcome.lines.end(), isErrorLine),
            "status 1 without an error line");
  }
  box.checkAndReset(box.work());
  return 0;
}
