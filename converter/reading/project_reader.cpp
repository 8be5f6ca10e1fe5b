// The element grammar of an IAR project file, one reader per element. Each reader returns true
// when its element was there and complete; one whose element is not next consumes nothing, so
// callers try alternatives and repeat a reader while it returns true.
#include "session.h"

namespace tessmark {
namespace {

// Groups nested deeper than this stop the project like any unexpected token, so a hostile file
// cannot exhaust the stack.
constexpr int kMaxGroupDepth = 256;

}  // namespace

bool ConverterSession::readProject(ProjectNode* project) {
  if (!reader.matchStart("project"))
    return false;
  readSimpleElement("fileVersion");
  while (readConfiguration(project)) {
  }
  // After the configurations, groups, top-level files and multi-file compilation lists come in
  // any order; generated projects put their main file first or the compilation list last.
  std::string file;
  std::vector<std::string> excluded;
  while (readOneOf(
      [&] { return readFile(&file, &excluded) && addTopLevelFile(project, file, excluded); },
      [&] { return readGroup(project, project, 1); },
      [&] { return readConfigurationList("mfc") || readConfigurationList("mfc_discard"); })) {
  }
  return reader.matchEnd("project");
}

// Without a project node (a configuration block inside a file) everything is read and dropped.
bool ConverterSession::readConfiguration(ProjectNode* project) {
  if (!reader.matchStart("configuration"))
    return false;
  std::string name;
  readName(&name);
  ProjectNode* configuration = nullptr;
  if (project != nullptr) {
    configuration = newNode(unbrokenValue(name));
    configuration->path = project->path;
    configuration->isConfiguration = true;
  }
  std::string toolchain;
  readToolchain(&toolchain);
  toolchain = unbrokenValue(toolchain);
  if (configuration != nullptr) {
    startConfiguration();
    configurationScope_ = projectScope_;
    configurationScope_.expandedCustom.clear();
    configurationScope_.configuration = configuration->name;
    configurationScope_.toolkitDir = toolkitDir(toolchain);
  }
  readSimpleElement("debug");
  while (readSettings(configuration)) {
  }
  if (!reader.matchEnd("configuration"))
    return false;
  if (configuration != nullptr) {
    finishConfiguration(configuration);
    // Source files, which every configuration shares, take the first configuration's toolkit.
    if (currentConfigurations.empty())
      projectScope_.toolkitDir = configurationScope_.toolkitDir;
    project->addChild(configuration);
    currentConfigurations.push_back(configuration);
  }
  return true;
}

bool ConverterSession::readToolchain(std::string* name) {
  if (!reader.matchStart("toolchain"))
    return false;
  readName(name);
  return reader.matchEnd("toolchain");
}

bool ConverterSession::readSettings(ProjectNode* configuration) {
  if (!reader.matchStart("settings"))
    return false;
  std::string name;
  readName(&name);
  readSimpleElement("archiveVersion");
  if (configuration != nullptr)
    startSettingsBlock();
  if (!readSettingsData(configuration) || !reader.matchEnd("settings"))
    return false;
  if (configuration != nullptr)
    endSettingsBlock();
  return true;
}

// Inside a group, files, sub-groups and option blocks for the group's files come in any order;
// the option blocks are read and dropped. The group is attached before its children are read,
// so children keep the document order of their start tags.
bool ConverterSession::readGroup(ProjectNode* parent, ProjectNode* project, int depth) {
  if (depth > kMaxGroupDepth)
    return false;
  if (!reader.matchStart("group"))
    return false;
  std::string name;
  readName(&name);
  std::vector<std::string> excluded;
  readConfigurationList("excluded", &excluded);
  ProjectNode* group = newNode(unbrokenValue(name));
  group->excludeGroup(std::move(excluded));
  if (parent != project)
    group->enclosingGroup = parent;
  attachGroup(group, parent);
  noteGroup(parent == project ? nullptr : parent, group);
  std::string file;
  while (
      readOneOf([&] { return readFile(&file, &excluded) && addGroupFile(group, file, excluded); },
                [&] { return readGroup(group, project, depth + 1); },
                [&] { return readConfiguration(nullptr); })) {
  }
  return reader.matchEnd("group");
}

void ConverterSession::noteGroup(ProjectNode* enclosing, ProjectNode* group) {
  groupsByPlace_.emplace(std::make_pair(enclosing, group->name), group);
}

ProjectNode* ConverterSession::groupNamed(ProjectNode* enclosing, const std::string& name) {
  const auto found = groupsByPlace_.find(std::make_pair(enclosing, name));
  if (found != groupsByPlace_.end())
    return found->second;
  ProjectNode* group = newNode(name);
  group->enclosingGroup = enclosing;
  attachGroup(group, enclosing != nullptr ? enclosing : readingProject_);
  noteGroup(enclosing, group);
  return group;
}

// Under configurations groups are flattened: every group is a child of every configuration.
void ConverterSession::attachGroup(ProjectNode* group, ProjectNode* parent) {
  if (currentConfigurations.empty()) {
    parent->addChild(group);
    return;
  }
  for (ProjectNode* configuration : currentConfigurations)
    configuration->addChild(group);
}

bool ConverterSession::addGroupFile(ProjectNode* group, const std::string& file,
                                    std::vector<std::string>& excluded) {
  const std::string path = filePath(file);
  if (keepsFile(path)) {
    if (!excluded.empty())
      group->excludeNextFile(std::move(excluded));
    // Copied, not moved: the copy holds just its bytes, while the substitution's result may
    // carry spare capacity, and a project keeps hundreds of thousands of paths.
    group->addFile(path);
  }
  readConnectionIfAny(path);
  return true;
}

// A top-level file goes to every configuration read so far, with its exclusions: the writer
// leaves it out of those it names.
bool ConverterSession::addTopLevelFile(ProjectNode* project, const std::string& file,
                                       const std::vector<std::string>& excluded) {
  const std::string path = filePath(file);
  if (keepsFile(path))
    listTopLevelFile(project, path, excluded);
  readConnectionIfAny(path);
  return true;
}

void ConverterSession::listTopLevelFile(ProjectNode* project, const std::string& path,
                                        const std::vector<std::string>& excluded) {
  if (currentConfigurations.empty())
    project->addFile(path);
  for (ProjectNode* configuration : currentConfigurations) {
    if (!excluded.empty())
      configuration->excludeNextFile(excluded);
    configuration->addFile(path);
  }
}

// excluded receives the names of the configurations the file is excluded from.
bool ConverterSession::readFile(std::string* path, std::vector<std::string>* excluded) {
  if (!reader.matchStart("file") || !reader.matchStart("name") || !reader.readText(path) ||
      !reader.matchEnd("name")) {
    return false;
  }
  excluded->clear();
  readConfigurationList("excluded", excluded);
  while (readConfiguration(nullptr)) {
  }
  return reader.matchEnd("file");
}

// A list of configuration names: the configurations a file or group is excluded from, kept in
// names as configuration names are kept, or a multi-file compilation list, dropped (no names).
bool ConverterSession::readConfigurationList(const char* element, std::vector<std::string>* names) {
  if (!reader.matchStart(element))
    return false;
  std::string configuration;
  while (reader.matchStart("configuration") && reader.readText(&configuration) &&
         reader.matchEnd("configuration")) {
    if (names != nullptr)
      names->push_back(unbrokenValue(configuration));
  }
  return reader.matchEnd(element);
}

void ConverterSession::readName(std::string* name) {
  if (reader.matchStart("name") && reader.readText(name))
    reader.matchEnd("name");
}

bool ConverterSession::readSimpleElement(const char* element) {
  std::string ignored;
  return reader.matchStart(element) && reader.readText(&ignored) && reader.matchEnd(element);
}

std::string ConverterSession::makeNative(std::string path) const {
  // IAR writes backslashes, which POSIX cannot follow; Windows keeps the file's own spelling.
  if (style == PathStyle::kPosix)
    toNativeSeparators(path, style);
  return path;
}

std::string ConverterSession::foundOnDisk(std::string path) {
  return style == PathStyle::kPosix ? pathFinder_.find(std::move(path)) : path;
}

std::string ConverterSession::readPath(const std::string& value, const VariableScope& scope,
                                       bool fromProject) {
  std::string path = expandReported(value, scope, readingPath_);
  if (fromProject && scope.projectFolder && isRelativeIarPath(path))
    path = *scope.projectFolder + separator() + path;
  return foundOnDisk(makeNative(std::move(path)));
}

std::string ConverterSession::filePath(const std::string& file) {
  return readPath(unbrokenValue(file), projectScope_);
}

bool ConverterSession::keepsFile(const std::string& path) const {
  if (extensions.empty())
    return true;
  const std::string_view extension = std::string_view(path).substr(path.rfind('.') + 1);
  for (const std::string& wanted : extensions) {
    if (equalsIgnoringAsciiCase(wanted, extension))
      return true;
  }
  return false;
}

}  // namespace tessmark
