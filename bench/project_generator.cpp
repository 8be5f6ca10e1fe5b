#include "project_generator.h"

#include <algorithm>

// Every draw from the random source is a statement of its own: the order in which the operands
// of one expression are evaluated is unspecified, and a seed must give the same file everywhere.

namespace tessmark_bench {

struct Tool {
  const char* name;
  const char* optionPrefix;  // nullptr: the block has no options
  int archiveVersion;
  int minOptions;
  int maxOptions;
};

namespace {

const std::vector<std::string> kConfigurationNames = {"Debug", "Release", "Flash Debug",
                                                      "RAM_Release"};
const std::vector<std::string> kWords = {
    "Optimization", "Debug",  "Output",  "Listing", "Section", "Endian",   "Interwork", "Fpu",
    "Stack",        "Heap",   "Entry",   "Symbol",  "Library", "Runtime",  "Warnings",  "Misra",
    "Diag",         "Remark", "Error",   "Dialect", "Char",    "Float",    "Inline",    "Unroll",
    "Schedule",     "Alias",  "Format",  "Fill",    "Range",   "Checksum", "Config",    "Override",
    "Extra",        "Path",   "Variant", "Core",    "Chip",    "Device",   "Trace",     "Cache"};
const std::vector<std::string> kGroupWords = {
    "Source",    "Drivers", "HAL",       "BSP",        "Common", "Kernel",
    "portable",  "Startup", "Utilities", "Middleware", "USB",    "Net",
    "FS",        "Tests",   "Demo",      "App",        "Config", "CMSIS",
    "Libraries", "Board",   "Full Demo", "C++ Runtime"};
const std::vector<std::string> kFileWords = {"main",  "hal",   "uart",  "spi",   "i2c",  "gpio",
                                             "timer", "dma",   "flash", "clock", "task", "queue",
                                             "list",  "event", "port",  "heap",  "adc",  "rtc"};
const std::vector<std::string> kSentences = {
    "Use the normal configuration of the C/C++ runtime library. No locale interface, C locale, no "
    "file descriptor support.",
    "No specifier n, no float nor long long, no scan set, no assignment suppressing.",
    "Full formatting, with multibytes in printf and scanf, and hex floats in strtod.",
    "Generates a checksum over the specified range and stores it at the given address."};

// The usual tools: general options, C/C++ compiler, assembler, output converter, custom build,
// the browse information and build actions (no options), linker and librarian.
const Tool kTools[] = {{"General", "G", 3, 50, 120},      {"ICCARM", "CC", 35, 150, 250},
                       {"AARM", "A", 10, 80, 150},        {"OBJCOPY", "OOC", 1, 50, 70},
                       {"CUSTOM", "CB", 3, 50, 60},       {"BICOMP", nullptr, 0, 0, 0},
                       {"BUILDACTION", nullptr, 1, 0, 0}, {"ILINK", "IL", 0, 150, 250},
                       {"IARCHIVE", "IAR", 0, 50, 60},    {nullptr, nullptr, 0, 0, 0}};

// The folder a group name gives in file paths: lower case, no blanks.
std::string folderWord(const std::string& name) {
  std::string word;
  for (char c : name) {
    if (c != ' ' && c != '+')
      word.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
  }
  return word;
}

}  // namespace

ProjectGenerator::ProjectGenerator(Random& rng, const Shape& shape)
    : rng_(rng), shape_(shape), xml_("  ", "\r\n") {}

std::string ProjectGenerator::generate() {
  // Older IAR versions indent by two blanks, newer ones by four; most files have CR LF.
  const bool wide = rng_.chance(50);
  const bool crlf = rng_.chance(80);
  xml_ = XmlText(wide ? "    " : "  ", crlf ? "\r\n" : "\n");
  counts_ = ProjectCounts();
  sources_.clear();
  xml_.line("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>");
  xml_.blankLine();
  xml_.open("project");
  xml_.leaf("fileVersion", "3");
  const int configurationCount =
      shape_.configurations > 0 ? shape_.configurations : rng_.between(2, 4);
  configurations_.assign(kConfigurationNames.begin(),
                         kConfigurationNames.begin() + configurationCount);
  for (const std::string& name : configurations_)
    configuration(name);
  groups();
  const int topLevel = shape_.fixedGroups > 0 ? 0 : rng_.between(0, 3);
  for (int i = 0; i < topLevel; ++i)
    source(fileName(), 0);
  xml_.close("project");
  return xml_.text();
}

void ProjectGenerator::configuration(const std::string& name) {
  ++counts_.configurations;
  xml_.open("configuration");
  xml_.leaf("name", name);
  xml_.open("toolchain");
  xml_.leaf("name", "ARM");
  xml_.close("toolchain");
  xml_.leaf("debug", name.find("Debug") != std::string::npos ? "1" : "0");
  for (const Tool* tool = kTools; tool->name != nullptr; ++tool)
    settings(*tool);
  xml_.close("configuration");
}

void ProjectGenerator::settings(const Tool& tool) {
  xml_.open("settings");
  xml_.leaf("name", tool.name);
  xml_.leaf("archiveVersion", std::to_string(tool.archiveVersion));
  if (std::string(tool.name) == "BICOMP") {
    xml_.line("<data/>");
    xml_.close("settings");
    return;
  }
  xml_.open("data");
  dataHeader(tool);
  if (tool.optionPrefix != nullptr)
    plainOptions(tool, rng_.between(tool.minOptions, tool.maxOptions));
  xml_.close("data");
  xml_.close("settings");
}

void ProjectGenerator::dataHeader(const Tool& tool) {
  const std::string name = tool.name;
  if (name == "BUILDACTION") {
    xml_.leaf("prebuild", "");
    xml_.leaf("postbuild", "");
  } else if (name == "CUSTOM") {
    xml_.leaf("extensions", "");
    xml_.leaf("cmdline", "");
    xml_.leaf("hasPrio", "0");
  } else {
    xml_.leaf("version", std::to_string(rng_.between(1, 40)));
    xml_.leaf("wantNonLocal", "1");
    xml_.leaf("debug", "1");
  }
}

// The compiler's three options of interest sit among the others, as in a real file.
void ProjectGenerator::plainOptions(const Tool& tool, int count) {
  const bool compiler = std::string(tool.name) == "ICCARM";
  const int special = compiler ? rng_.between(0, count - 1) : -1;
  for (int i = 0; i < count; ++i) {
    if (i == special)
      compilerOptions();
    std::string name = tool.optionPrefix;
    name += rng_.pick(kWords);
    name += rng_.pick(kWords);
    if (rng_.chance(30))
      name += std::to_string(rng_.between(2, 9));
    const int states = rng_.chance(85) ? 1 : rng_.between(2, 6);
    std::vector<std::string> values;
    for (int s = 0; s < states; ++s)
      values.push_back(stateValue());
    option(name, values);
  }
}

void ProjectGenerator::compilerOptions() {
  option("CCDefines", defines());
  const bool preInclude = rng_.chance(20);
  option("PreInclude", {preInclude ? "$PROJ_DIR$\\config\\preinclude.h" : ""});
  option("CCIncludePath2", includePaths());
}

void ProjectGenerator::option(const std::string& name, const std::vector<std::string>& states) {
  ++counts_.options;
  xml_.open("option");
  xml_.leaf("name", name);
  if (rng_.chance(10))
    xml_.leaf("version", std::to_string(rng_.between(0, 4)));
  for (const std::string& state : states)
    xml_.leaf("state", state);
  xml_.close("option");
}

std::string ProjectGenerator::stateValue() {
  const int kind = rng_.between(1, 100);
  if (kind <= 45)
    return rng_.chance(50) ? "1" : "0";
  if (kind <= 60)
    return std::to_string(rng_.between(0, 70000));
  if (kind <= 75) {
    std::string word = rng_.pick(kWords);
    return rng_.chance(50) ? word : "Debug\\" + word;
  }
  if (kind <= 90) {
    std::string path = rng_.chance(50) ? "$PROJ_DIR$\\config\\" : "$TOOLKIT_DIR$\\config\\linker\\";
    path += rng_.pick(kFileWords);
    return path + ".icf";
  }
  if (kind <= 95)
    return "";
  return rng_.pick(kSentences);
}

std::vector<std::string> ProjectGenerator::defines() {
  std::vector<std::string> values = {"USE_HAL_DRIVER", "CORE_CM7"};
  const int count = rng_.between(1, 10);
  for (int i = 0; i < count; ++i) {
    std::string symbol = "CFG_" + rng_.pick(kWords);
    symbol += std::to_string(i);
    const int kind = rng_.between(1, 10);
    if (kind <= 4)
      values.push_back(symbol);
    else if (kind <= 9)
      values.push_back(symbol + "=" + std::to_string(rng_.between(0, 100000)));
    else
      values.push_back(symbol + "=\"" + rng_.pick(kWords) + "\"");
  }
  return values;
}

std::vector<std::string> ProjectGenerator::includePaths() {
  std::vector<std::string> values = {"$PROJ_DIR$", "$PROJ_DIR$\\..\\..\\Source\\include"};
  const int count = rng_.between(2, 14);
  for (int i = 0; i < count; ++i) {
    std::string path = rng_.chance(80) ? "$PROJ_DIR$\\inc\\" : "$TOOLKIT_DIR$\\inc\\";
    path += folderWord(rng_.pick(kGroupWords));
    values.push_back(path);
  }
  return values;
}

void ProjectGenerator::groups() {
  filesLeft_ = shape_.filesPerProject;
  if (shape_.fixedGroups > 0) {
    for (int i = 0; i < shape_.fixedGroups; ++i)
      group(shape_.maxDepth, "src", 0);
    return;
  }
  while (filesLeft_ > 0)
    group(1, "src", 0);
}

// IAR saves a group's sub-groups before its files.
void ProjectGenerator::group(int depth, const std::string& parentFolder, unsigned excludedAbove) {
  ++counts_.groups;
  std::string name = rng_.pick(kGroupWords);
  if (rng_.chance(90))
    name += "_" + std::to_string(counts_.groups);
  const std::string folder = parentFolder + "\\" + folderWord(name);
  xml_.open("group");
  xml_.leaf("name", name);
  const unsigned excludedHere = excludedAbove | groupExclusion();
  if (depth < shape_.maxDepth && filesLeft_ > shape_.maxGroupFiles &&
      rng_.chance(depth == 1 ? 50 : 30)) {
    const int subGroups = rng_.between(1, 3);
    for (int i = 0; i < subGroups && filesLeft_ > 0; ++i)
      group(depth + 1, folder, excludedHere);
  }
  int files = rng_.between(shape_.minGroupFiles, shape_.maxGroupFiles);
  if (shape_.fixedGroups == 0)
    files = std::max(1, std::min(files, filesLeft_));
  for (int i = 0; i < files; ++i)
    source(folder + "\\" + fileName(), excludedHere);
  xml_.close("group");
}

void ProjectGenerator::source(const std::string& path, unsigned excludedAbove) {
  if (shape_.sourcesOnDisk)
    sources_.push_back(path);
  file("$PROJ_DIR$\\" + path, excludedAbove);
}

void ProjectGenerator::file(const std::string& path, unsigned excludedAbove) {
  ++counts_.files;
  --filesLeft_;
  xml_.open("file");
  xml_.leaf("name", path);
  const unsigned excludedFrom = excludedAbove | fileExclusion();
  for (size_t i = 0; i < configurations_.size(); ++i)
    counts_.listed += (excludedFrom >> i) & 1 ? 0 : 1;
  if (rng_.chance(2))
    fileConfiguration();
  xml_.close("file");
}

// The shapes without exclusions make the draws that once placed their excluded blocks, so that
// the rest of their files stays as it was. With exclusions, one group in twenty and one file in
// nine is excluded from one configuration; one excluded file in ten, an alternative that no
// configuration builds, from all of them.
unsigned ProjectGenerator::groupExclusion() {
  const bool drawn = rng_.chance(shape_.exclusions ? 5 : 3);
  if (!drawn || !shape_.exclusions)
    return 0;
  const unsigned configurations = oneConfiguration();
  excluded(configurations);
  return configurations;
}

unsigned ProjectGenerator::fileExclusion() {
  const bool drawn = rng_.chance(shape_.exclusions ? 11 : 4);
  if (!drawn || !shape_.exclusions)
    return 0;
  unsigned configurations = (1u << configurations_.size()) - 1;
  if (!rng_.chance(10))
    configurations = oneConfiguration();
  excluded(configurations);
  return configurations;
}

unsigned ProjectGenerator::oneConfiguration() {
  return 1u << rng_.between(0, static_cast<int>(configurations_.size()) - 1);
}

void ProjectGenerator::excluded(unsigned configurations) {
  xml_.open("excluded");
  for (size_t i = 0; i < configurations_.size(); ++i) {
    if ((configurations >> i) & 1)
      xml_.leaf("configuration", configurations_[i]);
  }
  xml_.close("excluded");
}

// File-specific compiler settings of one configuration.
void ProjectGenerator::fileConfiguration() {
  xml_.open("configuration");
  xml_.leaf("name", configurations_.front());
  xml_.open("settings");
  xml_.leaf("name", "ICCARM");
  xml_.open("data");
  const int count = rng_.between(2, 8);
  for (int i = 0; i < count; ++i) {
    std::string name = "CC" + rng_.pick(kWords);
    option(name, {stateValue()});
  }
  xml_.close("data");
  xml_.close("settings");
  xml_.close("configuration");
}

std::string ProjectGenerator::fileName() {
  std::string name = rng_.pick(kFileWords);
  name += "_" + rng_.pick(kWords);
  name += std::to_string(counts_.files);
  const int kind = rng_.between(1, 20);
  if (kind <= 13)
    return name + ".c";
  if (kind <= 18)
    return name + ".h";
  return name + (kind == 19 ? ".s" : ".cpp");
}

}  // namespace tessmark_bench
