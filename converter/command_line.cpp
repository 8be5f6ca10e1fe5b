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

void applyOptions(const std::vector<std::string>& args, ConverterSession& session,
                  CurrentDirectory& cwd) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option != "-pn" && option != "-mp" && option != "-ap" && option != "-cp" &&
        option != "-ext") {
      continue;
    }
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
    } else {
      session.addExtensions(value);
    }
  }
}

int runConverter(const std::vector<std::string>& args, CurrentDirectory& cwd, PathStyle style) {
  if (args.size() < 3) {
    printUsage();
    return 0;
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
