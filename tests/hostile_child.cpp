#include "hostile_child.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tessmark_test {
namespace {

constexpr uid_t kNobody = 65534;

// Everything the child needs, prepared before fork: after it only async-signal-safe calls.
struct ChildSetup {
  std::vector<std::string> strings;
  std::vector<char*> argv;
  std::string cwd;
  int outputFd = -1;
  ChildOptions options;
  bool traced = false;
};

void setLimit(int resource, uint64_t bytes) {
  const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  setrlimit(resource, &limit);
}

[[noreturn]] void execChild(const ChildSetup& setup) {
  dup2(setup.outputFd, STDOUT_FILENO);
  if (chdir(setup.cwd.c_str()) != 0)
    _exit(126);
  if (setup.options.fileSizeLimit != 0) {
    signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    setLimit(RLIMIT_FSIZE, setup.options.fileSizeLimit);
  }
  if (setup.options.addressSpaceLimit != 0 && !sanitizedBuild())
    setLimit(RLIMIT_AS, setup.options.addressSpaceLimit);
  if (setup.options.asUnprivilegedUser && geteuid() == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)
      _exit(kCannotDropPrivileges);
  }
  if (setup.traced && ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
    _exit(126);
  alarm(setup.options.watchdogSeconds);  // survives exec
  execv(setup.argv[0], setup.argv.data());
  _exit(127);
}

ChildSetup prepare(const std::string& program, const std::vector<std::string>& args,
                   const fs::path& cwd, const ChildOptions& options, FILE* output) {
  ChildSetup setup;
  setup.strings.push_back(program);
  setup.strings.insert(setup.strings.end(), args.begin(), args.end());
  for (std::string& s : setup.strings)
    setup.argv.push_back(s.data());
  setup.argv.push_back(nullptr);
  setup.cwd = cwd.string();
  setup.outputFd = fileno(output);
  setup.options = options;
  return setup;
}

std::string readAll(FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[65536];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text.append(buffer, got);
  return text;
}

int statusOf(int wstatus) {
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
}

FILE* outputFile() {
  FILE* output = std::tmpfile();
  if (output == nullptr)
    throw std::runtime_error("tmpfile failed");
  return output;
}

}  // namespace

bool sanitizedBuild() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#else
  return false;
#endif
#else
  return false;
#endif
}

ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const fs::path& cwd, const ChildOptions& options) {
  FILE* output = outputFile();
  const ChildSetup setup = prepare(program, args, cwd, options, output);
  const pid_t pid = fork();
  if (pid < 0)
    throw std::runtime_error("fork failed");
  if (pid == 0)
    execChild(setup);
  int wstatus = 0;
  rusage usage{};
  while (wait4(pid, &wstatus, 0, &usage) < 0 && errno == EINTR) {
  }
  ChildResult result;
  result.status = statusOf(wstatus);
  result.maxRssKb = usage.ru_maxrss;
  result.output = readAll(output);
  std::fclose(output);
  return result;
}

#if defined(__linux__) && defined(__x86_64__)

namespace {

// The NUL-terminated string at address in the stopped child (at most a path's length).
std::string childString(pid_t pid, unsigned long long address) {
  std::string text;
  for (int word = 0; word < 1024; ++word) {
    errno = 0;
    const long bits = ptrace(PTRACE_PEEKDATA, pid, address + word * sizeof(long), nullptr);
    if (errno != 0)
      return text;
    const char* bytes = reinterpret_cast<const char*>(&bits);
    for (size_t i = 0; i < sizeof(long); ++i) {
      if (bytes[i] == '\0')
        return text;
      text.push_back(bytes[i]);
    }
  }
  return text;
}

// Follows the child from system call to system call; entries and exits alternate.
class Tracer {
 public:
  Tracer(pid_t pid, const FileEvents& events) : pid_(pid), events_(events) {}

  void onSyscallStop() {
    user_regs_struct regs{};
    ptrace(PTRACE_GETREGS, pid_, nullptr, &regs);
    inSyscall_ = !inSyscall_;
    if (inSyscall_) {
      onEntry(regs);
    } else {
      onExit(regs);
    }
  }

 private:
  void onEntry(const user_regs_struct& regs) {
    const long call = static_cast<long>(regs.orig_rax);
    if (call == SYS_openat || call == SYS_open) {
      const auto address = call == SYS_openat ? regs.rsi : regs.rdi;
      opening_ = childString(pid_, address) == events_.watched;
      if (opening_ && !opened_ && events_.beforeOpen)
        events_.beforeOpen();
      opened_ = opened_ || opening_;
    }
    reading_ = call == SYS_read && watchedFd_ >= 0 && static_cast<long>(regs.rdi) == watchedFd_;
  }

  void onExit(const user_regs_struct& regs) {
    if (opening_ && static_cast<long>(regs.rax) >= 0)
      watchedFd_ = static_cast<long>(regs.rax);
    opening_ = false;
    if (reading_ && !readDone_ && events_.afterFirstRead) {
      events_.afterFirstRead();
      readDone_ = true;
    }
    reading_ = false;
  }

  pid_t pid_;
  const FileEvents& events_;
  bool inSyscall_ = false;
  bool opening_ = false;
  bool opened_ = false;
  bool reading_ = false;
  bool readDone_ = false;
  long watchedFd_ = -1;
};

int traceToTheEnd(pid_t pid, const FileEvents& events) {
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);  // stopped at its exec
  if (!WIFSTOPPED(wstatus))
    return wstatus;
  ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
  Tracer tracer(pid, events);
  int signal = 0;
  for (;;) {
    ptrace(PTRACE_SYSCALL, pid, nullptr, signal);
    waitpid(pid, &wstatus, 0);
    if (WIFEXITED(wstatus) || WIFSIGNALED(wstatus))
      return wstatus;
    signal = 0;
    if (WSTOPSIG(wstatus) == (SIGTRAP | 0x80)) {
      tracer.onSyscallStop();
    } else if (WSTOPSIG(wstatus) != SIGTRAP) {
      signal = WSTOPSIG(wstatus);  // hand the child its own signals, the watchdog's included
    }
  }
}

}  // namespace

bool runTraced(const std::string& program, const std::vector<std::string>& args,
               const fs::path& cwd, const FileEvents& events, ChildResult* result) {
  FILE* output = outputFile();
  ChildSetup setup = prepare(program, args, cwd, ChildOptions{}, output);
  setup.traced = true;
  // The leak check stops the world with ptrace itself, which a traced process cannot.
  const char* const asanOptions = std::getenv("ASAN_OPTIONS");
  const std::string previous = asanOptions != nullptr ? asanOptions : "";
  setenv("ASAN_OPTIONS", (previous + ":detect_leaks=0").c_str(), 1);
  const pid_t pid = fork();
  if (pid == 0)
    execChild(setup);
  if (asanOptions != nullptr) {
    setenv("ASAN_OPTIONS", previous.c_str(), 1);
  } else {
    unsetenv("ASAN_OPTIONS");
  }
  if (pid < 0)
    throw std::runtime_error("fork failed");
  const int wstatus = traceToTheEnd(pid, events);
  result->status = statusOf(wstatus);
  result->output = readAll(output);
  std::fclose(output);
  return result->status != 126;  // 126: tracing refused
}

#else

bool runTraced(const std::string&, const std::vector<std::string>&, const fs::path&,
               const FileEvents&, ChildResult*) {
  return false;
}

#endif

}  // namespace tessmark_test
