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

// The option's name and states go to members that live from option to option, so that the
// storage of the name and of the list is reused: a settings block holds hundreds of options.
bool ConverterSession::readOption(ProjectNode* configuration) {
  if (!reader.matchStart("option"))
    return false;
  readName(&optionName_);
  readSimpleElement("version");
  std::string state;
  while (reader.matchStart("state") && reader.readText(&state) && reader.matchEnd("state")) {
    if (!state.empty())
      optionStates_.push_back(std::move(state));
  }
  const bool complete = reader.matchEnd("option");
  if (complete && configuration != nullptr && !optionName_.empty() && !optionStates_.empty())
    applyOption(configuration, optionName_, optionStates_);
  forgetOption();
  return complete;
}

// The states are freed (one may be as large as the file); so is a name of more than a few
// kilobytes, which no real option has.
void ConverterSession::forgetOption() {
  optionStates_.clear();
  if (optionName_.capacity() > 4096)
    std::string().swap(optionName_);
  optionName_.clear();
}

// The states are moved out, not copied: one may be as large as the project file.
void ConverterSession::applyOption(ProjectNode* configuration, const std::string& option,
                                   std::vector<std::string>& states) {
  // An include path or pre-include file as written out.
  const auto projectPath = [&](std::string& state) {
    return readPath(unbrokenValue(std::move(state)), configurationScope_);
  };
  if (option == "CCDefines") {
    for (std::string& state : states)
      addDefine(configuration, unbrokenValue(std::move(state)));
  } else if (option == "LCEnableBitDefs") {
    for (const std::string& state : states) {
      if (state == "1")
        configuration->define("ENABLE_BIT_DEFINITIONS", "");
    }
  } else if (option.find("CCIncludePath") != std::string::npos) {
    for (std::string& state : states)
      configuration->addIncludePath(projectPath(state));
  } else if (option == "PreInclude") {
    printLine(
        "Please add the following file(s) to the Additional Includes List in your Compiler "
        "Personality as -fi entries: ");
    for (std::string& state : states)
      printLine(projectPath(state));
  }
}

}  // namespace tessmark
