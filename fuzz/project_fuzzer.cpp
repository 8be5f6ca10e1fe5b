// One input is one IAR project file (.ewp), converted through the converter's whole entry, with
// an extension filter and a user analyser personality, into a fresh destination folder. Covers
// the token reader, the project grammar, the compiler options and both writers.
#include "fixture_projects.h"
#include "sandbox.h"

namespace fs = std::filesystem;
using namespace tessmark_fuzz;

namespace {

Sandbox& sandbox() {
  static Sandbox box;
  static const bool prepared = [] {
    box.writeInput("in/pers.txt", kAnalyserPersonality);
    fs::create_directories(box.work() / "out");
    return true;
  }();
  (void)prepared;
  return box;
}

// Every group is written once per configuration, with three folders each: an input whose work
// is large only by that product is skipped rather than reported as slow.
constexpr size_t kMaxGroupEntries = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t configurations = countOf(data, size, "<configuration>") + 1;
  const size_t groups = countOf(data, size, "<group>") + 1;
  if (configurations * groups > kMaxGroupEntries)
    return -1;
  Sandbox& box = sandbox();
  box.writeInput("in/p.ewp", std::string(reinterpret_cast<const char*>(data), size));
  const fs::path out = box.work() / "out";
  const Outcome outcome =
      box.run({(box.work() / "in/p.ewp").string(), out.string(), "/opt/iar", "-ext", "c,h,s,asm",
               "-ap", (box.work() / "in/pers.txt").string()});
  checkReportedOutcome(outcome, out / "p.prj", countOf(data, size, "Marker") > 0);
  box.checkAndReset(out);
  return 0;
}
