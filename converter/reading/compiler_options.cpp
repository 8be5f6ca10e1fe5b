// The settings data of a configuration: every option is read, four of them become defines,
// include paths or a notice about pre-included files.
#include "console.h"
#include "session.h"

namespace tessmark {
namespace {

const char kStringify[] = "VTX_STRINGIFY(x)";

void addDefine(ProjectNode* configuration, const std::string& state) {
  const size_t equals = state.find('=');
  std::string symbol = state.substr(0, equals);
  std::string definition = equals == std::string::npos ? std::string() : state.substr(equals + 1);
  // A quoted value is handed to the analyser through a stringizing macro.
  if (definition.find('"') != std::string::npos) {
    configuration->define(kStringify, "#x");
    definition = "VTX_STRINGIFY(" + trimChar(definition, '"') + ")";
  }
  // Moved, not copied: a state may be as large as the project file.
  configuration->define(std::move(symbol), std::move(definition));
}

}  // namespace

bool ConverterSession::readSettingsData(ProjectNode* configuration) {
  if (reader.matchStart("data/") || reader.matchStart("data /"))
    return true;
  if (!reader.matchStart("data"))
    return false;
  for (const char* element : {"extensions", "cmdline", "hasPrio", "buildSequence", "prebuild",
                              "postbuild", "version", "wantNonLocal", "debug"}) {
    readSimpleElement(element);
  }
  while (readOption(configuration)) {
  }
  return reader.matchEnd("data");
}

bool ConverterSession::readOption(ProjectNode* configuration) {
  if (!reader.matchStart("option"))
    return false;
  std::string name;
  readName(&name);
  readSimpleElement("version");
  std::vector<std::string> states;
  std::string state;
  while (reader.matchStart("state") && reader.readText(&state) && reader.matchEnd("state")) {
    if (!state.empty())
      states.push_back(std::move(state));
  }
  if (!reader.matchEnd("option"))
    return false;
  if (configuration != nullptr && !name.empty() && !states.empty()) {
    applyOption(configuration, name, states);
  }
  return true;
}

void ConverterSession::applyOption(ProjectNode* configuration, const std::string& option,
                                   const std::vector<std::string>& states) {
  if (option == "CCDefines") {
    for (const std::string& state : states)
      addDefine(configuration, state);
  } else if (option == "LCEnableBitDefs") {
    for (const std::string& state : states) {
      if (state == "1")
        configuration->define("ENABLE_BIT_DEFINITIONS", "");
    }
  } else if (option.find("CCIncludePath") != std::string::npos) {
    for (const std::string& state : states) {
      configuration->addIncludePath(
          makeNative(replaceFirst(state, "$PROJ_DIR$", projectFolder(configuration))));
    }
  } else if (option == "PreInclude") {
    printLine(
        "Please add the following file(s) to the Additional Includes List in your Compiler "
        "Personality as -fi entries: ");
    for (const std::string& state : states) {
      printLine(makeNative(replaceFirst(state, "$PROJ_DIR$", projectFolder(configuration))));
    }
  }
}

}  // namespace tessmark
