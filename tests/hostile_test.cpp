// Hostile inputs that a static case folder under tests/cases cannot express: links to devices,
// FIFOs, a full or read-only file system, project files that change while the converter runs,
// and inputs too large to commit. Each runs the real Tessmark binary.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "e2e_runner.h"
#include "hostile_child.h"

namespace fs = std::filesystem;

namespace tessmark_test {
namespace {

// One configuration with a define (so it generates an analyser personality) and one group.
constexpr char kProject[] = R"(<project>
  <configuration>
    <name>Debug</name>
    <settings>
      <name>ICCARM</name>
      <data>
        <option><name>CCDefines</name><state>DEBUG</state></option>
      </data>
    </settings>
  </configuration>
  <group>
    <name>src</name>
    <file><name>$PROJ_DIR$\main.c</name></file>
  </group>
</project>
)";

// A project whose file lists alone make a project file of about 100 bytes per file.
std::string projectWithFiles(int count) {
  std::string text = "<project>\n  <group>\n    <name>src</name>\n";
  for (int i = 0; i < count; ++i) {
    text += "    <file><name>$PROJ_DIR$\\src\\module_" + std::to_string(i) +
            "_with_a_rather_long_file_name.c</name></file>\n";
  }
  return text + "  </group>\n</project>\n";
}

std::vector<std::string> linesOf(const std::string& output) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t lf = output.find('\n'); lf != std::string::npos; lf = output.find('\n', start)) {
    lines.push_back(output.substr(start, lf - start));
    start = lf + 1;
  }
  return lines;
}

std::string lastLine(const std::string& output) {
  const std::vector<std::string> lines = linesOf(output);
  return lines.empty() ? std::string() : lines.back();
}

bool completed(const std::string& output) {
  return output.find("Korval/Korval++ Project Completed!") != std::string::npos;
}

class HostileTest : public ::testing::Test {
 protected:
  fs::path tmp() const { return tmp_.path(); }
  fs::path out() const { return tmp() / "out"; }
  void SetUp() override { fs::create_directory(out()); }

  // Writes app.ewp (or another file) below the temporary folder.
  fs::path write(const std::string& relative, const std::string& bytes) const {
    const fs::path path = tmp() / relative;
    fs::create_directories(path.parent_path());
    writeBytes(path, bytes);
    return path;
  }
  ChildResult convert(const std::vector<std::string>& args, const ChildOptions& options = {}) {
    return runChild(TESSMARK_BINARY, args, tmp(), options);
  }
  ChildResult convertProject(const ChildOptions& options = {}) {
    return convert({write("app.ewp", kProject).string(), out().string(), ""}, options);
  }

  TempFolder tmp_;
};

// --- FIFOs and devices: only regular files are read ---

// Opens the FIFO for writing whenever a reader waits on it and closes it at once: a converter
// that opened the FIFO then reads an empty file instead of waiting forever, and the test sees
// that it did.
class FifoUnblocker {
 public:
  explicit FifoUnblocker(fs::path fifo) : fifo_(std::move(fifo)), thread_([this] { loop(); }) {}
  ~FifoUnblocker() { stop(); }
  bool released() {
    stop();
    return released_;
  }

 private:
  void loop() {
    while (!done_) {
      const int fd = open(fifo_.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        close(fd);
        released_ = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  void stop() {
    done_ = true;
    if (thread_.joinable())
      thread_.join();
  }

  const fs::path fifo_;
  std::atomic<bool> done_{false};
  std::atomic<bool> released_{false};
  std::thread thread_;
};

fs::path makeFifo(const fs::path& path) {
  fs::create_directories(path.parent_path());
  EXPECT_EQ(0, mkfifo(path.c_str(), 0644));
  return path;
}

// A project and a workspace are opened on different roads; neither may wait on a FIFO.
TEST_F(HostileTest, SourceThatIsAFifoIsNotOpened) {
  for (const char* name : {"app.ewp", "demo.eww"}) {
    const fs::path fifo = makeFifo(tmp() / name);
    FifoUnblocker unblocker(fifo);
    const ChildResult result = convert({fifo.string(), out().string(), ""});
    EXPECT_FALSE(unblocker.released()) << name << ": the converter waited for a writer";
    EXPECT_EQ(1, result.status) << name;
    EXPECT_EQ("Could not open file: " + fifo.string() + "\n", result.output);
  }
}

TEST_F(HostileTest, WorkspaceEntryThatIsAFifoIsNotOpened) {
  const fs::path workspace =
      write("ws/demo.eww", "<project>\r\n<path>$WS_DIR$/p.ewp</path>\r\n</project>\r\n");
  FifoUnblocker unblocker(makeFifo(tmp() / "ws/p.ewp"));
  const ChildResult result = convert({workspace.string(), out().string(), ""});
  EXPECT_FALSE(unblocker.released()) << "the converter opened a FIFO and waited for a writer";
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Could not open file: " + (tmp() / "ws").string() + "//p.ewp\n", result.output);
}

TEST_F(HostileTest, AnalyserPersonalityThatIsAFifoIsNotRead) {
  const fs::path fifo = makeFifo(tmp() / "user.p_a");
  FifoUnblocker unblocker(fifo);
  const ChildResult result =
      convert({write("app.ewp", kProject).string(), out().string(), "", "-ap", fifo.string()});
  EXPECT_FALSE(unblocker.released()) << "the converter opened a FIFO and waited for a writer";
  EXPECT_EQ(0, result.status);
  EXPECT_NE(std::string::npos, result.output.find("Couldnt open file\n"));
  EXPECT_EQ("-d \"DEBUG\"\r\n", readBytes(out() / "app/Debug/person/Debug.p_a"));
}

TEST_F(HostileTest, SourceThatIsAnEmptyDeviceIsNotOpened) {
  const ChildResult result = convert({"/dev/null", out().string(), ""});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Could not open file: /dev/null\n", result.output);
}

// /dev/zero never ends: reading it as a project would fill memory. The address-space limit
// only keeps a broken converter from taking the machine with it.
TEST_F(HostileTest, SourceThatIsAnEndlessDeviceIsNotOpened) {
  ChildOptions options;
  options.addressSpaceLimit = 1ull << 30;
  const ChildResult result = convert({"/dev/zero", out().string(), ""}, options);
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Could not open file: /dev/zero\n", result.output);
}

TEST_F(HostileTest, AnalyserPersonalityThatIsAnEndlessDeviceIsNotRead) {
  ChildOptions options;
  options.addressSpaceLimit = 1ull << 30;
  const ChildResult result = convert(
      {write("app.ewp", kProject).string(), out().string(), "", "-ap", "/dev/zero"}, options);
  EXPECT_EQ(0, result.status);
  EXPECT_NE(std::string::npos, result.output.find("Couldnt open file\n"));
}

// --- files that cannot take what is written: the failure is reported, never success ---

TEST_F(HostileTest, ProjectFileLinkedToAFullDevice) {
  fs::create_symlink("/dev/full", out() / "app.prj");
  const ChildResult result = convertProject();
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Could not write file: " + (out() / "app.prj").string(), lastLine(result.output));
  EXPECT_FALSE(completed(result.output));
}

TEST_F(HostileTest, GeneratedPersonalityLinkedToAFullDevice) {
  const fs::path person = out() / "app/Debug/person";
  fs::create_directories(person);
  fs::create_symlink("/dev/full", person / "Debug.p_a");
  const ChildResult result = convertProject();
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Could not write file: " + (person / "Debug.p_a").string(), lastLine(result.output));
  EXPECT_FALSE(completed(result.output));
}

TEST_F(HostileTest, FileSizeLimitReachedWhileWritingTheProjectFile) {
  ChildOptions options;
  options.fileSizeLimit = 16 * 1024;  // the project file below needs about 300 KB
  const ChildResult result =
      convert({write("app.ewp", projectWithFiles(3000)).string(), out().string(), ""}, options);
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Could not write file: " + (out() / "app.prj").string(), lastLine(result.output));
  EXPECT_FALSE(completed(result.output));
}

// A small file system mounted for the test; skipped where mounting is not allowed.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(fs::path folder) : folder_(std::move(folder)) {
    fs::create_directories(folder_);
    mounted_ = mount("tessmark-test", folder_.c_str(), "tmpfs", 0, "size=64k") == 0;
  }
  ~SmallFileSystem() {
    if (mounted_)
      umount2(folder_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }

 private:
  fs::path folder_;
  bool mounted_ = false;
};

TEST_F(HostileTest, FullDiskWhileWriting) {
  SmallFileSystem disk(tmp() / "small");
  if (!disk.mounted())
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  const ChildResult result =
      convert({write("app.ewp", projectWithFiles(3000)).string(), (tmp() / "small").string(), ""});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ(0u,
            lastLine(result.output).rfind("Could not write file: " + (tmp() / "small").string(), 0))
      << result.output;
  EXPECT_FALSE(completed(result.output));
}

// --- permissions: as root they do not bite, so the converter then runs as nobody ---

void openUpForNobody(const fs::path& tmp) {
  fs::permissions(tmp, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec);
}

TEST_F(HostileTest, ReadOnlyDestination) {
  write("app.ewp", kProject);
  openUpForNobody(tmp());
  fs::permissions(out(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
  ChildOptions options;
  options.asUnprivilegedUser = true;
  const ChildResult result = convertProject(options);
  if (result.status == kCannotDropPrivileges)
    GTEST_SKIP() << "cannot run the converter as an unprivileged user";
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Could not write file: " + (out() / "app.prj").string() + "\n", result.output);
  EXPECT_TRUE(fs::is_empty(out()));
}

TEST_F(HostileTest, ReadOnlyPersonalityFolder) {
  write("app.ewp", kProject);
  openUpForNobody(tmp());
  fs::permissions(out(), fs::perms::all);
  fs::create_directory(out() / "person");
  fs::permissions(out() / "person", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
  ChildOptions options;
  options.asUnprivilegedUser = true;
  const ChildResult result = convertProject(options);
  if (result.status == kCannotDropPrivileges)
    GTEST_SKIP() << "cannot run the converter as an unprivileged user";
  // The default message personality fails quietly; the default analyser personality does not.
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Could not write file: " + (out() / "person/app.p_a").string(),
            lastLine(result.output));
  EXPECT_FALSE(completed(result.output));
}

// --- project files that change while the converter runs (exact moments through ptrace) ---

class ChangingProjectTest : public HostileTest {
 protected:
  // A workspace listing a.ewp, then b.ewp; returns what runTraced gave.
  ChildResult convertWorkspace(const std::string& second, std::function<void()> beforeOpen,
                               std::function<void()> afterFirstRead) {
    write("ws/a.ewp", kProject);
    write("ws/b.ewp", second);
    const fs::path workspace = write("ws/demo.eww",
                                     "<project>\r\n<path>$WS_DIR$/a.ewp</path>\r\n</project>\r\n"
                                     "<project>\r\n<path>$WS_DIR$/b.ewp</path>\r\n</project>\r\n");
    FileEvents events{secondPath(), std::move(beforeOpen), std::move(afterFirstRead)};
    ChildResult result;
    if (!runTraced(TESSMARK_BINARY, {workspace.string(), out().string(), ""}, tmp(), events,
                   &result)) {
      traced_ = false;
    }
    return result;
  }
  // The path of b.ewp as the converter opens it: the workspace folder, "/", then the entry.
  std::string secondPath() const { return (tmp() / "ws").string() + "//b.ewp"; }
  fs::path second() const { return tmp() / "ws/b.ewp"; }

  bool traced_ = true;
};

TEST_F(ChangingProjectTest, DeletedBetweenScanAndRead) {
  const ChildResult result = convertWorkspace(
      kProject, [&] { fs::remove(second()); }, nullptr);
  if (!traced_)
    GTEST_SKIP() << "ptrace is not available here";
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("Could not open file: " + secondPath() + "\n", result.output);
  EXPECT_FALSE(fs::exists(out() / "demo.prj"));
}

TEST_F(ChangingProjectTest, TruncatedBetweenScanAndRead) {
  const ChildResult result = convertWorkspace(
      kProject, [&] { fs::resize_file(second(), 40); }, nullptr);
  if (!traced_)
    GTEST_SKIP() << "ptrace is not available here";
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("IAR Project file parsing encountered unexpected EOF\n", result.output);
  EXPECT_FALSE(fs::exists(out() / "demo.prj"));
}

// The file is larger than one read, so the converter is in the middle of it.
TEST_F(ChangingProjectTest, TruncatedWhileRead) {
  const ChildResult result =
      convertWorkspace(projectWithFiles(4000), nullptr, [&] { fs::resize_file(second(), 64); });
  if (!traced_)
    GTEST_SKIP() << "ptrace is not available here";
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("IAR Project file parsing encountered unexpected EOF\n", result.output);
}

// An open file stays readable after it is removed: the conversion is whole.
TEST_F(ChangingProjectTest, DeletedWhileRead) {
  const ChildResult result =
      convertWorkspace(projectWithFiles(4000), nullptr, [&] { fs::remove(second()); });
  if (!traced_)
    GTEST_SKIP() << "ptrace is not available here";
  EXPECT_EQ(0, result.status);
  EXPECT_TRUE(completed(result.output));
  const std::string project = readBytes(out() / "demo.prj");
  EXPECT_NE(std::string::npos, project.find("module_3999_with_a_rather_long_file_name.c\r\n"));
}

// --- inputs generated here, too large to commit ---

// 100000 nested groups in a project without configurations: the reader stops at the 257th
// level (a group deeper than 256 is an unexpected token) without exhausting its stack, and
// the writer makes the 256 nested folders.
TEST_F(HostileTest, HundredThousandNestedGroups) {
  constexpr int kLevels = 100000;
  std::string text = "<project>";
  for (int i = 0; i < kLevels; ++i)
    text += "<group><name>g</name><file><name>f.c</name></file>";
  for (int i = 0; i < kLevels; ++i)
    text += "</group>";
  text += "</project>";
  const ChildResult result = convert({write("app.ewp", text).string(), out().string(), ""});
  EXPECT_EQ(0, result.status);
  const std::vector<std::string> lines = linesOf(result.output);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("IAR Project file parsing encountered unexpected token: group", lines.front());
  EXPECT_EQ(256, std::count(lines.begin(), lines.end(), "  Creating Group - g"));
  fs::path deepest = out() / "app";
  for (int i = 0; i < 256; ++i)
    deepest /= "g";
  EXPECT_TRUE(fs::is_directory(deepest / "output"));
  EXPECT_FALSE(fs::exists(deepest / "g"));
}

}  // namespace
}  // namespace tessmark_test
