// A stand-in for Tessmark in the wizard tests. It writes its arguments, joined by '|', to the
// file "arguments" in its working directory, then does what the environment variable
// TESSMARK_FAKE (which the wizard passes on) says: "STATUS PAUSE OUTPUT". It prints OUTPUT,
// flushing and pausing for PAUSE milliseconds at each '|' in it, and exits with STATUS, or ends
// abnormally when STATUS is "crash". Without the variable it prints nothing and exits with 0.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  std::ofstream record("arguments");
  for (int i = 1; i < argc; ++i)
    record << (i > 1 ? "|" : "") << argv[i];
  record.close();
  const char* fake = std::getenv("TESSMARK_FAKE");
  char status[8] = "0";
  int pause = 0, end = 0;
  std::sscanf(fake ? fake : "0 0", "%7s %d%n", status, &pause, &end);
  std::string output = fake && fake[end] ? fake + end + 1 : "";
  for (size_t bar; (bar = output.find('|')) != std::string::npos; output.erase(0, bar + 1)) {
    std::fwrite(output.data(), 1, bar, stdout);
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(pause));
  }
  std::fputs(output.c_str(), stdout);
  std::fflush(stdout);
  if (std::string(status) == "crash")
    std::abort();
  return std::atoi(status);
}
