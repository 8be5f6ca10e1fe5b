// Runs the converter as a child process under the conditions the hostile tests need: resource
// limits, another user, a watchdog against hangs, or a tracer that changes a file at an exact
// moment of the run. Standard output goes to a temporary file, so a child that prints a lot
// never blocks on a pipe.
#ifndef TESSMARK_TESTS_HOSTILE_CHILD_H_
#define TESSMARK_TESTS_HOSTILE_CHILD_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tessmark_test {

// The exit status of a child that could not become the unprivileged user.
constexpr int kCannotDropPrivileges = 125;

struct ChildOptions {
  // When the tests run as root, the child runs as nobody (65534), so file permissions bite.
  bool asUnprivilegedUser = false;
  // Bytes a file may grow to (0: no limit): writing past it fails as on a full disk.
  uint64_t fileSizeLimit = 0;
  // Bytes of address space (0: no limit); ignored in sanitized builds, which reserve terabytes.
  uint64_t addressSpaceLimit = 0;
  // A child still running after this long is killed (SIGALRM), so a hang fails the test
  // instead of blocking the suite. Not a timing check: no passing run comes near it.
  unsigned watchdogSeconds = 600;
};

struct ChildResult {
  int status = -1;     // exit status, or 128 + the signal that ended the child
  std::string output;  // standard output
  long maxRssKb = 0;   // peak resident set size of the child
};

ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const std::filesystem::path& cwd, const ChildOptions& options = {});

// What runTraced does to one file at exact moments of the child's run.
struct FileEvents {
  std::string watched;                   // the path exactly as the child opens it
  std::function<void()> beforeOpen;      // the child is about to open it (first time only)
  std::function<void()> afterFirstRead;  // the child's first read from it has returned
};

// Runs the child under ptrace, stopping it at each system call so that the events happen
// exactly when named. False when tracing is not available here (the child is not run).
bool runTraced(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& cwd, const FileEvents& events, ChildResult* result);

// True when the tests (and the converter) were built with AddressSanitizer.
bool sanitizedBuild();

}  // namespace tessmark_test

#endif  // TESSMARK_TESTS_HOSTILE_CHILD_H_
