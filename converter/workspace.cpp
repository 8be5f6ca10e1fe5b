#include "workspace.h"

#include "session.h"

namespace tessmark {
namespace {

bool startsAt(const std::string& text, size_t at, const char* what) {
  return text.compare(at, std::char_traits<char>::length(what), what) == 0;
}

// The position after the comment that starts at `at`, or npos when it is never closed.
size_t afterComment(const std::string& text, size_t at) {
  const size_t end = text.find("-->", at + 4);
  return end == std::string::npos ? end : end + 3;
}

// From `at`, past white space and comments: the position of what follows, or npos when a comment
// is never closed.
size_t skipBlanksAndComments(const std::string& text, size_t at) {
  for (;;) {
    at = text.find_first_not_of(" \t\r\n", at);
    if (at == std::string::npos || !startsAt(text, at, "<!--"))
      return at == std::string::npos ? text.size() : at;
    at = afterComment(text, at);
    if (at == std::string::npos)
      return at;
  }
}

std::string trimmedEntry(std::string entry) {
  const size_t first = entry.find_first_not_of(" \t\r\n");
  entry = first == std::string::npos
              ? std::string()
              : entry.substr(first, entry.find_last_not_of(" \t\r\n") - first + 1);
  return trimChar(entry, '"');
}

}  // namespace

bool isWorkspacePath(const std::string& path) {
  return path.find(".eww") != std::string::npos || endsWithIgnoringAsciiCase(path, ".eww");
}

std::vector<std::string> workspaceEntries(const std::string& text) {
  std::vector<std::string> entries;
  size_t at = 0;
  while ((at = text.find('<', at)) != std::string::npos) {
    if (startsAt(text, at, "<!--")) {
      at = afterComment(text, at);
    } else if (startsAt(text, at, "<project>")) {
      at = skipBlanksAndComments(text, at + 9);
      if (at != std::string::npos && startsAt(text, at, "<path>")) {
        const size_t start = at + 6;
        const size_t end = text.find("</path>", start);
        entries.push_back(trimmedEntry(text.substr(start, end - start)));
        at = end == std::string::npos ? end : end + 7;
      }
    } else {
      ++at;
    }
    if (at == std::string::npos)
      break;
  }
  return entries;
}

WorkspaceProject describeWorkspaceEntry(const std::string& entry, PathStyle style) {
  std::string nativePath = entry;
  toNativeSeparators(nativePath, style);
  const std::string file = fileNameOf(nativePath, style);
  return {file.substr(0, file.find('.')), folderWithSeparatorOf(nativePath, style)};
}

// The workspace is read whole and scanned for its entries, not parsed as XML.
std::vector<std::string> ConverterSession::scanWorkspace() {
  openingPath_ = sourcePath;
  InputFile workspace;
  if (!workspace.open(sourcePath))
    throw XMLReaderError(XMLReaderError::CannotOpen);
  std::string text;
  workspace.readAll(&text);
  std::vector<std::string> projectPaths = workspaceEntries(text);
  const VariableScope scope = runScope();
  for (std::string& path : projectPaths)
    path = expandReported(path, scope, sourcePath);
  return projectPaths;
}

ProjectNode* ConverterSession::makeWorkspaceProject(const std::string& entry) {
  const WorkspaceProject project = describeWorkspaceEntry(entry, style);
  ProjectNode* node = newNode(project.name);
  node->path = project.path;
  rootProject->addChild(node);
  return node;
}

}  // namespace tessmark
