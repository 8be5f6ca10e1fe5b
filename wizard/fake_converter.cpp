// A stand-in for the Tessmark converter, used by the wizard tests. Environment variables choose
// what it does, since the wizard hands its own environment to the child:
//   TESSMARK_FAKE_RECORD   file to write the working directory and the arguments into, each
//                          followed by a NUL byte
//   TESSMARK_FAKE_STDOUT   bytes to print on standard output, in one write
//   TESSMARK_FAKE_SLEEP_MS time to wait before exiting (to test a run still going on)
//   TESSMARK_FAKE_EXIT     exit status, or "crash" to end abnormally
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

const char* variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

void recordArguments(const std::string& path, int argc, char** argv) {
  std::ofstream record(path, std::ios::binary);
  record << std::filesystem::current_path().string() << '\0';
  for (int i = 1; i < argc; ++i) {
    record << argv[i] << '\0';
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string record = variable("TESSMARK_FAKE_RECORD");
  if (!record.empty()) {
    recordArguments(record, argc, argv);
  }
  const std::string output = variable("TESSMARK_FAKE_STDOUT");
  std::fwrite(output.data(), 1, output.size(), stdout);
  std::fflush(stdout);
  const std::string sleep = variable("TESSMARK_FAKE_SLEEP_MS");
  if (!sleep.empty()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(sleep)));
  }
  const std::string status = variable("TESSMARK_FAKE_EXIT");
  if (status == "crash") {
    std::signal(SIGABRT, SIG_DFL);
    std::abort();
  }
  return status.empty() ? 0 : std::stoi(status);
}
