#include "workspace.h"

#include "session.h"

namespace tessmark {

std::string workspaceEntryFromLine(const std::string& line, const std::string& workspaceDir,
                                   PathStyle style) {
  const size_t open = line.find('>');
  const size_t close = line.rfind('<');
  const size_t start = open + 1;
  std::string path = close == std::string::npos || close < start
                         ? line.substr(start)
                         : line.substr(start, close - start);
  path = trimChar(trimChar(path, ' '), '"');
  return replaceFirst(path, "$WS_DIR$", workspaceDir + separatorOf(style));
}

WorkspaceProject describeWorkspaceEntry(const std::string& entry, PathStyle style) {
  std::string nativePath = entry;
  toNativeSeparators(nativePath, style);
  const std::string file = fileNameOf(nativePath, style);
  return {file.substr(0, file.find('.')), folderWithSeparatorOf(nativePath, style)};
}

// The workspace is scanned line by line, not parsed: a line holding "<project>" followed by a
// line holding "<path>" names one project. Duplicates stay.
std::vector<std::string> ConverterSession::scanWorkspace() {
  const std::string workspaceDir = folderOf(sourcePath, style);
  openingPath_ = sourcePath;
  InputFile workspace;
  if (!workspace.open(sourcePath))
    throw XMLReaderError(XMLReaderError::CannotOpen);
  std::vector<std::string> projectPaths;
  std::string line;
  std::string next;
  while (workspace.readLine(&line)) {
    if (line.find("<project>") == std::string::npos)
      continue;
    // A "<project>" line at the very end of the file has no path line to go with it.
    if (!workspace.readLine(&next))
      break;
    if (next.find("<path>") == std::string::npos)
      continue;
    projectPaths.push_back(workspaceEntryFromLine(next, workspaceDir, style));
  }
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
