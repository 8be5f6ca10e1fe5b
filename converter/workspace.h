#ifndef TESSMARK_WORKSPACE_H_
#define TESSMARK_WORKSPACE_H_

#include <string>
#include <vector>

#include "paths.h"

namespace tessmark {

// True when the source is read as a workspace: its path holds ".eww", or its file name ends in
// ".eww" in any letter case.
bool isWorkspacePath(const std::string& path);

// The project entries of a workspace file's text, in file order, duplicates kept: the text of
// every "<path>" element whose start tag follows a "<project>" start tag with only white space
// or comments between them, up to the next "</path>" (or the end of the text), trimmed of white
// space and then of double quotes. Variables are not expanded. Comments are skipped; one never
// closed ends the scan. Linear in the length of the text.
std::vector<std::string> workspaceEntries(const std::string& text);

// The name and folder of the project node made for a workspace entry.
struct WorkspaceProject {
  std::string name;  // file name up to its first '.'
  std::string path;  // folder with its final separator, or empty
};
WorkspaceProject describeWorkspaceEntry(const std::string& entry, PathStyle style);

}  // namespace tessmark

#endif  // TESSMARK_WORKSPACE_H_
