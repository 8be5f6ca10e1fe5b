#include "session.h"

#include "console.h"
#include "io_error.h"
#include "platform/platform.h"
#include "reading/variable_file.h"
#include "workspace.h"

#include <cstdlib>

namespace tessmark {

namespace {

// The root's name: the source's file name without its last four characters (".ewp", ".eww").
std::string rootName(const std::string& sourcePath, PathStyle style) {
  const std::string file = fileNameOf(sourcePath, style);
  return file.size() < 4 ? file : file.substr(0, file.size() - 4);
}

}  // namespace

ConverterSession::ConverterSession(std::string sourcePath, std::string destFolder,
                                   std::string iarInstallDir, PathStyle style)
    : sourcePath(std::move(sourcePath)),
      destFolder(std::move(destFolder)),
      iarInstallDir(std::move(iarInstallDir)),
      style(style) {
  rootProject = newNode(rootName(this->sourcePath, style));
  if (this->iarInstallDir.empty())
    this->iarInstallDir = defaultIARInstallDir();
}

ProjectNode* ConverterSession::newNode(const std::string& name) {
  nodes_.push_back(std::make_unique<ProjectNode>(name, this));
  return nodes_.back().get();
}

void ConverterSession::addExtensions(const std::string& value) {
  size_t start = 0;
  for (size_t comma = value.find(','); comma != std::string::npos; comma = value.find(',', start)) {
    extensions.push_back(value.substr(start, comma - start));
    start = comma + 1;
  }
  extensions.push_back(value.substr(start));
}

int ConverterSession::run() {
  if (!readVariableFiles())
    return 1;
  isWorkspace_ = isWorkspacePath(sourcePath);
  try {
    const std::vector<std::string> projectPaths =
        isWorkspace_ ? scanWorkspace() : std::vector<std::string>{sourcePath};
    for (const std::string& entry : projectPaths)
      readProjectFile(entry);
    writeProjectFile();
    if (filesNotRead_ == 0)
      return 0;
    printLine("Warning: " + std::to_string(filesNotRead_) + " of " + std::to_string(filesTried_) +
              " project files were not read to their end.");
    return 2;
  } catch (const XMLReaderError& error) {
    if (error.code == XMLReaderError::EndOfInput) {
      printLine("IAR Project file parsing encountered unexpected EOF");
    } else if (error.code == XMLReaderError::CannotOpen) {
      printLine("Could not open file: " + openingPath_);
    }
  } catch (const IOERROR& error) {
    if (error.code == IOERROR::CannotCreateDirectory) {
      printLine("Could not create directory: " + error.path);
    } else if (error.code == IOERROR::CannotWriteFile) {
      printLine("Could not write file: " + error.path);
    }
  }
  return 1;
}

// A project listed by a workspace that cannot be opened, or any project that ends early or
// stops at a token it does not expect, is reported with its place and keeps what was read; only
// a source project that cannot be opened ends the run.
void ConverterSession::readProjectFile(const std::string& entry) {
  currentConfigurations.clear();
  std::string nativePath = entry;
  toNativeSeparators(nativePath, style);
  ProjectNode* node;
  const bool isSource = entry == sourcePath;
  if (isSource) {
    node = rootProject;
    node->path = folderWithSeparatorOf(nativePath, style);
  } else {
    // The sub-project's name and folder come from the project file as found.
    nativePath = foundOnDisk(std::move(nativePath));
    node = makeWorkspaceProject(nativePath);
  }
  openingPath_ = readingPath_ = nativePath;
  readingProject_ = node;
  groupsByPlace_.clear();
  projectScope_ = runScope();
  projectScope_.projectFolder = folderOf(node->path, style);
  const std::string file = fileNameOf(nativePath, style);
  projectScope_.projectName = file.substr(0, file.rfind('.'));
  projectScope_.projectPath = nativePath;
  ++filesTried_;
  try {
    reader.open(nativePath);
  } catch (const XMLReaderError&) {
    if (isSource)
      throw;
    printLine("Could not open file: " + nativePath);
    ++filesNotRead_;
    return;
  }
  readToItsEnd(reader, nativePath, [&] { return readProject(node); });
}

bool ConverterSession::readToItsEnd(XMLReader& fileReader, const std::string& path,
                                    const std::function<bool()>& read) {
  try {
    if (read())
      return true;
    printLine("IAR Project file parsing encountered unexpected token: " + fileReader.tokenText());
  } catch (const XMLReaderError& error) {
    if (error.code != XMLReaderError::EndOfInput)
      throw;
    printLine("IAR Project file parsing encountered unexpected EOF");
  }
  printLine("  in " + path + ", line " + std::to_string(fileReader.stopLine()));
  ++filesNotRead_;
  return false;
}

VariableScope ConverterSession::runScope() const {
  VariableScope scope;
  scope.style = style;
  if (!iarInstallDir.empty())
    scope.iarFolder = iarInstallDir;
  if (isWorkspace_)
    scope.workspaceDir = folderOf(sourcePath, style) + separator();
  scope.custom = &customVariables;
  scope.environment = [](const std::string& name, std::string* value) {
    const char* set = std::getenv(name.c_str());
    if (set != nullptr)
      *value = set;
    return set != nullptr;
  };
  return scope;
}

std::optional<std::string> ConverterSession::toolkitDir(const std::string& toolchain) const {
  if (iarInstallDir.empty() || toolchain.empty())
    return std::nullopt;
  const char last = iarInstallDir.back();
  return iarInstallDir + (last == '\\' || last == '/' ? "" : std::string(1, separator())) +
         toolkitFolder(toolchain);
}

std::string ConverterSession::expandReported(const std::string& value, const VariableScope& scope,
                                             const std::string& reportFile) {
  std::string expanded = expandVariables(value, scope);
  if (expanded.find('$') == std::string::npos)
    return expanded;
  for (const std::string& name : variablesIn(expanded)) {
    if (reportedVariables_.insert(reportFile + '\0' + name).second)
      printLine("Variable not expanded: $" + name + "$ in " + reportFile);
  }
  return expanded;
}

bool ConverterSession::readVariableFiles() {
  for (const std::string& file : variableFiles) {
    if (!defineVariablesFrom(file)) {
      printLine("Could not read variable file: " + file);
      return false;
    }
  }
  // The source's own: its path with the last extension of its file name replaced.
  const std::string file = fileNameOf(sourcePath, style);
  const std::string beside = folderWithSeparatorOf(sourcePath, style) +
                             file.substr(0, file.rfind('.')) + ".custom_argvars";
  if (platform::entryExists(beside) && !defineVariablesFrom(beside))
    printLine("Could not read variable file: " + beside);
  return true;
}

// The first definition of a name wins, so a later file adds only names not defined yet.
bool ConverterSession::defineVariablesFrom(const std::string& file) {
  VariableDefinitions definitions;
  if (!readVariableFile(file, &definitions))
    return false;
  for (const auto& [name, value] : definitions)
    customVariables.define(name, value);
  return true;
}

}  // namespace tessmark
