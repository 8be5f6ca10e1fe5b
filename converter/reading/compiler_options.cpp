// The settings data of a configuration: every option is read; those the compiler takes become
// defines, include paths, CMSIS folders, extra arguments or a notice about pre-included files.
#include <string_view>

#include "console.h"
#include "platform/platform.h"
#include "reading/compiler_arguments.h"
#include "session.h"

namespace tessmark {
namespace {

using namespace std::string_view_literals;

const char kStringify[] = "VTX_STRINGIFY(x)";
const char kPreIncludeNotice[] =
    "Please add the following file(s) to the Additional Includes List in your Compiler "
    "Personality as -fi entries: ";

// The compiler's extra options, each with the switch that must be on in the same settings
// block for them to count.
// Views, not C strings: an option is compared with each of them, and a view compares the lengths
// first (a settings block holds hundreds of options).
constexpr std::string_view kExtraOptions[ConverterSession::kExtraOptionKinds][2] = {
    {"IExtraOptions", "IExtraOptionsCheck"},
    {"IccExtraOptions", "IccUseExtraOptions"},
    {"CCExtraOptions", "CCExtraOptionsCheck"},
    {"Compiler Extra Options Edit", "Compiler Extra Options Check"}};

bool isOn(const std::vector<std::string>& states) {
  return !states.empty() && states[0] == "1";
}

}  // namespace

void ConverterSession::addDefine(ProjectNode* configuration, const std::string& state) {
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
  if (option == "CCDefines"sv) {
    for (std::string& state : states)
      addDefine(configuration, unbrokenValue(std::move(state)));
  } else if (option == "LCEnableBitDefs"sv) {
    for (const std::string& state : states) {
      if (state == "1")
        configuration->define("ENABLE_BIT_DEFINITIONS", "");
    }
  } else if (option.find("CCIncludePath") != std::string::npos) {
    for (std::string& state : states)
      configuration->addIncludePath(projectPath(state));
  } else if (option == "PreInclude"sv) {
    printLine(kPreIncludeNotice);
    for (std::string& state : states)
      printLine(projectPath(state));
  } else if (option == "OGUseCmsis"sv) {
    useCmsis_ = isOn(states);
  } else if (option == "OGUseCmsisDspLib"sv) {
    useCmsisDsp_ = isOn(states);
  } else {
    noteExtraOptions(option, states);
  }
}

// Kept until the settings block ends: the switch may come before or after the options.
void ConverterSession::noteExtraOptions(const std::string& option,
                                        std::vector<std::string>& states) {
  for (int kind = 0; kind < kExtraOptionKinds; ++kind) {
    if (option == kExtraOptions[kind][0])
      blockExtraOptions_[kind].states = std::move(states);
    if (option == kExtraOptions[kind][1])
      blockExtraOptions_[kind].on = isOn(states);
  }
}

void ConverterSession::startSettingsBlock() {
  for (ExtraOptions& options : blockExtraOptions_)
    options = ExtraOptions();
}

void ConverterSession::endSettingsBlock() {
  for (ExtraOptions& options : blockExtraOptions_) {
    if (!options.on)
      continue;
    for (const std::string& state : options.states) {
      for (std::string& argument : splitArguments(state, ArgumentText::kOptions))
        extraArguments_.push_back(std::move(argument));
    }
  }
}

void ConverterSession::startConfiguration() {
  useCmsis_ = useCmsisDsp_ = false;
  extraArguments_.clear();
}

// What the compiler adds once a configuration's own settings are read: IAR's CMSIS folders,
// then the extra options.
void ConverterSession::finishConfiguration(ProjectNode* configuration) {
  if (useCmsis_)
    addCmsisFolders(configuration);
  CompilerArgumentsRead read;
  applyCompilerArguments({configuration}, extraArguments_, 1, configurationScope_, false, &read);
  extraArguments_.clear();
  printPreIncludes(read.preIncludes);
}

void ConverterSession::printPreIncludes(const std::vector<std::string>& files) {
  if (files.empty())
    return;
  printLine(kPreIncludeNotice);
  for (const std::string& file : files)
    printLine(file);
}

// The folder of the current layout, or the older one where only that one is on disk; a folder
// the configuration lists already is not listed again.
void ConverterSession::addCmsisFolders(ProjectNode* configuration) {
  const std::string older = readPath("$TOOLKIT_DIR$\\CMSIS\\Include", configurationScope_);
  const auto add = [&](const char* current) {
    std::string folder = readPath(current, configurationScope_);
    if (!platform::exists(folder) && platform::exists(older))
      folder = older;
    const std::vector<std::string>& listed = configuration->includePaths;
    if (std::find(listed.begin(), listed.end(), folder) == listed.end())
      configuration->addIncludePath(std::move(folder));
  };
  add("$TOOLKIT_DIR$\\CMSIS\\Core\\Include");
  if (useCmsisDsp_)
    add("$TOOLKIT_DIR$\\CMSIS\\DSP\\Include");
}

// fileLevel is the level of the option files these arguments name (1 for the options). A
// relative include path stays as written unless fromProject, which puts the project's folder
// before it; an option file is always taken from the project's folder.
void ConverterSession::applyCompilerArguments(const std::vector<ProjectNode*>& configurations,
                                              const std::vector<std::string>& arguments,
                                              int fileLevel, const VariableScope& scope,
                                              bool fromProject, CompilerArgumentsRead* read) {
  for (CompilerArgument& argument : readCompilerArguments(arguments)) {
    switch (argument.kind) {
      case CompilerArgument::kDefine:
        for (ProjectNode* configuration : configurations)
          configuration->define(argument.value, argument.definition);
        break;
      case CompilerArgument::kIncludePath: {
        const std::string folder = readPath(argument.value, scope, fromProject);
        for (ProjectNode* configuration : configurations)
          configuration->addIncludePath(folder);
        break;
      }
      case CompilerArgument::kPreInclude:
        read->preIncludes.push_back(readPath(argument.value, scope, fromProject));
        break;
      case CompilerArgument::kOptionFile:
        readOptionFile(configurations, readPath(argument.value, scope, true), fileLevel, scope,
                       fromProject, read);
        break;
    }
  }
}

void ConverterSession::readOptionFile(const std::vector<ProjectNode*>& configurations,
                                      const std::string& path, int level,
                                      const VariableScope& scope, bool fromProject,
                                      CompilerArgumentsRead* read) {
  if (level > kMaxOptionFileDepth)
    return;
  InputFile file;
  if (!file.open(path)) {
    if (read->unreadable.insert(path).second)
      printLine("Could not read option file: " + path);
    return;
  }
  std::string text;
  file.readAll(&text);
  applyCompilerArguments(configurations, splitArguments(text, ArgumentText::kOptionFile), level + 1,
                         scope, fromProject, read);
}

}  // namespace tessmark
