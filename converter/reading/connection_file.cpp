// Project connection files (.ipcf): the files, groups, include paths, defines and extra options
// a vendor's tool hands to a project, read when the project lists one, and applied to every
// configuration after its own settings.
#include "console.h"
#include "platform/platform.h"
#include "session.h"

namespace tessmark {
namespace {

bool isConnectionName(std::string_view name) {
  return name == "iarProjectConnection" || name == "includePath" || name == "path" ||
         name == "defines" || name == "define" || name == "extraOptions" || name == "args" ||
         name == "arg" || name == "files" || name == "group";
}

// Connection files nest groups like projects do; deeper ones stop the file.
constexpr int kMaxConnectionGroupDepth = 256;

}  // namespace

// A connection file named inside a connection file is listed, not read.
void ConverterSession::readConnectionIfAny(const std::string& path) {
  if (connection_ != nullptr || !endsWithIgnoringAsciiCase(path, ".ipcf"))
    return;
  // On the heap: its reader's buffer would weigh on a stack of nested groups.
  const auto connection = std::make_unique<Connection>(isConnectionName);
  connection_ = connection.get();
  ++filesTried_;
  try {
    connection->reader.open(path);
    readToItsEnd(connection->reader, path, [&] { return readConnection(); });
  } catch (const XMLReaderError&) {
    printLine("Could not open file: " + path);
    ++filesNotRead_;
  }
  applyConnectionArguments();  // those of an extraOptions element cut by a stop
  connection_ = nullptr;
  printPreIncludes(connection->read.preIncludes);
}

bool ConverterSession::readConnection() {
  XMLReader& in = connection_->reader;
  std::string attributes;
  if (!in.matchStartTag("iarProjectConnection", &attributes))
    return false;
  while (readOneOfIn(
      in, [&] { return readConnectionIncludePaths(); }, [&] { return readConnectionDefines(); },
      [&] { return readConnectionExtraOptions(); }, [&] { return readConnectionFiles(); })) {
  }
  return in.matchEnd("iarProjectConnection");
}

// A path element's text, read as the project's own paths are, relative ones taken from the
// project's folder. One with a copyTo attribute names the copy when it is on disk.
bool ConverterSession::readConnectionPath(std::string* path) {
  XMLReader& in = connection_->reader;
  std::string attributes;
  std::string text;
  if (!in.matchStartTag("path", &attributes) || !in.readText(&text) || !in.matchEnd("path"))
    return false;
  path->clear();
  if (const std::optional<std::string> copy = attributeValue(attributes, "copyTo")) {
    *path = readPath(unbrokenValue(*copy), projectScope_, true);
    if (platform::exists(*path))
      return true;
  }
  text = unbrokenValue(text);
  *path = text.empty() ? std::string() : readPath(text, projectScope_, true);
  return true;
}

bool ConverterSession::readConnectionIncludePaths() {
  XMLReader& in = connection_->reader;
  if (!in.matchStart("includePath"))
    return false;
  std::string folder;
  while (readConnectionPath(&folder)) {
    for (ProjectNode* configuration : currentConfigurations) {
      if (!folder.empty())
        configuration->addIncludePath(folder);
    }
  }
  return in.matchEnd("includePath");
}

bool ConverterSession::readConnectionDefines() {
  XMLReader& in = connection_->reader;
  if (!in.matchStart("defines"))
    return false;
  std::string define;
  while (in.matchStart("define") && in.readText(&define) && in.matchEnd("define")) {
    for (ProjectNode* configuration : currentConfigurations)
      addDefine(configuration, unbrokenValue(define));
  }
  return in.matchEnd("defines");
}

// Each arg is one argument as it stands; they are read as the compiler's extra options, in the
// document's order.
bool ConverterSession::readConnectionExtraOptions() {
  XMLReader& in = connection_->reader;
  if (!in.matchStart("extraOptions"))
    return false;
  const auto readArgument = [&] {
    std::string argument;
    if (!in.matchStart("arg") || !in.readText(&argument) || !in.matchEnd("arg"))
      return false;
    connection_->arguments.push_back(unbrokenValue(argument));
    return true;
  };
  const auto readArguments = [&] {
    if (!in.matchStart("args"))
      return false;
    while (readArgument()) {
    }
    return in.matchEnd("args");
  };
  while (readOneOfIn(in, readArgument, readArguments)) {
  }
  applyConnectionArguments();
  return in.matchEnd("extraOptions");
}

void ConverterSession::applyConnectionArguments() {
  applyCompilerArguments(currentConfigurations, connection_->arguments, 1, projectScope_, true,
                         &connection_->read);
  connection_->arguments.clear();
}

bool ConverterSession::readConnectionFiles() {
  XMLReader& in = connection_->reader;
  if (!in.matchStart("files"))
    return false;
  std::string file;
  while (readOneOfIn(
      in, [&] { return readConnectionPath(&file) && addConnectionFile(nullptr, file); },
      [&] { return readConnectionGroup(nullptr, 1); })) {
  }
  return in.matchEnd("files");
}

// name="A/B" is the group B inside the group A, each made where no group of that name is there
// yet, after the groups there so far.
bool ConverterSession::readConnectionGroup(ProjectNode* enclosing, int depth) {
  XMLReader& in = connection_->reader;
  std::string attributes;
  if (depth > kMaxConnectionGroupDepth || !in.matchStartTag("group", &attributes))
    return false;
  const std::string name = attributeValue(attributes, "name").value_or(std::string());
  ProjectNode* group = enclosing;
  for (size_t start = 0;;) {
    const size_t slash = name.find('/', start);
    group = groupNamed(group, name.substr(start, slash - start));
    if (slash == std::string::npos)
      break;
    start = slash + 1;
  }
  std::string file;
  while (readOneOfIn(
      in, [&] { return readConnectionPath(&file) && addConnectionFile(group, file); },
      [&] { return readConnectionGroup(group, depth + 1); })) {
  }
  return in.matchEnd("group");
}

// A file of a group, or of the top level without one. Empty paths name nothing.
bool ConverterSession::addConnectionFile(ProjectNode* group, const std::string& path) {
  if (path.empty() || !keepsFile(path))
    return true;
  if (group != nullptr)
    group->addFile(path);
  else
    listTopLevelFile(readingProject_, path, {});
  return true;
}

}  // namespace tessmark
