// One input is one IAR workspace (.eww). Beside it lie the projects real workspaces name most
// often, each ending a different way, so a fuzzed entry can reach every outcome of a run.
#include "fixture_projects.h"
#include "sandbox.h"

namespace fs = std::filesystem;
using namespace tessmark_fuzz;

namespace {

Sandbox& sandbox() {
  static Sandbox box;
  static const bool prepared = [] {
    box.writeInput("in/RTOSDemo.ewp", kConfiguredProject);
    box.writeInput("in/rtosdemo.ewp", kPlainProject);
    box.writeInput("in/FreeRTOSDemo.ewp", kStoppingProject);
    box.writeInput("in/Project.ewp", kTruncatedProject);
    box.writeInput("in/sub/RTOSDemo_IAR.ewp", kPlainProject);
    fs::create_directories(box.work() / "out");
    return true;
  }();
  (void)prepared;
  return box;
}

// Each entry reads and writes a whole project: keep one input's work bounded.
constexpr size_t kMaxEntries = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (countOf(data, size, "<project>") > kMaxEntries)
    return -1;
  Sandbox& box = sandbox();
  box.writeInput("in/w.eww", std::string(reinterpret_cast<const char*>(data), size));
  const fs::path out = box.work() / "out";
  const Outcome outcome = box.run({(box.work() / "in/w.eww").string(), out.string(), "/opt/iar"});
  // The projects are fixed and the entries cannot hold a line break: markers are never forged.
  checkReportedOutcome(outcome, out / "w.prj", false);
  box.checkAndReset(out);
  return 0;
}
