#include "command_line.h"

#include <stdexcept>

#include "console.h"
#include "platform/platform.h"
#include "session.h"

namespace tessmark {

std::string ProcessDirectory::read() {
  return platform::currentDirectory();
}

void ProcessDirectory::change(const std::string& path) {
  platform::changeDirectory(path);
}

void printUsage() {
  printLine(
      "Usage: Loamwright <source_workspace|source_proj> <dest_folder> <IAR_install_dir> [-pn "
      "dest_proj_name]");
  printLine(
      "[-mp message_personality] [-ap analyser_personality] [-cp compiler_personality] [-ext "
      "file_extension]");
}

namespace {

const char* const kOptions[] = {"-pn", "-mp", "-ap", "-cp", "-ext", "-varfile"};

bool isOption(const std::string& argument) {
  for (const char* option : kOptions) {
    if (argument == option)
      return true;
  }
  return false;
}

// What --help adds to the usage lines: one line per argument and option.
void printHelp() {
  printUsage();
  for (const char* line :
       {"  source_workspace|source_proj  the IAR workspace (.eww) or project (.ewp) to convert",
        "  dest_folder                   the existing folder the Korval project is written to",
        "  IAR_install_dir               the IAR installation folder, for $EW_DIR$ and "
        "$TOOLKIT_DIR$ (\"\": the registry's, if any)",
        "  -pn dest_proj_name            the Korval project's name (default: the source's "
        "file name)",
        "  -mp message_personality       a message personality named instead of the empty "
        "default",
        "  -ap analyser_personality      a text appended to every analyser personality",
        "  -cp compiler_personality      a compiler personality named instead of the empty "
        "default",
        "  -ext file_extension           comma-separated extensions of the source files to "
        "keep (may be repeated)",
        "  -varfile variable_file        a file of custom argument variables (may be "
        "repeated)",
        "  --help, -h                    this text",
        "  --version                     the converter's version"}) {
    printLine(line);
  }
}

// The first argument the converter refuses, with its message; empty when every one is taken.
// Options are looked for everywhere, positional arguments and option values included; after
// the three positional arguments every argument must be an option or the value right after
// one.
std::string refusedArgument(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (isOption(args[i])) {
      if (i + 1 == args.size())
        return "Missing value for option: " + args[i];
    } else if (i >= 3 && !isOption(args[i - 1])) {
      return "Unknown option: " + args[i];
    }
  }
  return std::string();
}

}  // namespace

void applyOptions(const std::vector<std::string>& args, ConverterSession& session,
                  CurrentDirectory& cwd) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (!isOption(option))
      continue;
    if (i + 1 == args.size())
      throw std::invalid_argument(option + " has no value");
    const std::string& value = args[i + 1];
    if (option == "-pn") {
      session.projectName = value;
    } else if (option == "-mp") {
      session.messagePersonality = makeAbsolute(value, session.style, cwd);
    } else if (option == "-ap") {
      session.analyserPersonality = makeAbsolute(value, session.style, cwd);
    } else if (option == "-cp") {
      session.compilerPersonality = makeAbsolute(value, session.style, cwd);
    } else if (option == "-varfile") {
      session.variableFiles.push_back(makeAbsolute(value, session.style, cwd));
    } else {
      session.addExtensions(value);
    }
  }
}

int runConverter(const std::vector<std::string>& args, CurrentDirectory& cwd, PathStyle style) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    printHelp();
    return 0;
  }
  if (!args.empty() && args[0] == "--version") {
    printLine(std::string("Tessmark ") + TESSMARK_VERSION);
    return 0;
  }
  if (args.size() < 3) {
    printUsage();
    return 0;
  }
  const std::string refused = refusedArgument(args);
  if (!refused.empty()) {
    printLine(refused);
    printUsage();
    return 1;
  }
  // Any failure the run does not report itself ends the program with status 1 and no message.
  try {
    const std::string source = makeAbsolute(args[0], style, cwd);
    const std::string destination = makeAbsolute(args[1], style, cwd);
    ConverterSession session(source, destination, args[2], style);
    session.projectName = defaultProjectName(source, style);
    applyOptions(args, session, cwd);
    return session.run();
  } catch (...) {
    return 1;
  }
}

}  // namespace tessmark
