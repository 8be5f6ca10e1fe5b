#ifndef TESSMARK_WORKSPACE_H_
#define TESSMARK_WORKSPACE_H_

#include <string>

#include "paths.h"

namespace tessmark {

// The project path of a workspace "<path>" line: the text between the first '>' and the last
// '<' (or to the end of the line when there is no closing tag), trimmed of spaces and then of
// double quotes, with its first "$WS_DIR$" replaced by the workspace folder and a separator.
std::string workspaceEntryFromLine(const std::string& line, const std::string& workspaceDir,
                                   PathStyle style);

// The name and folder of the project node made for a workspace entry.
struct WorkspaceProject {
  std::string name;  // file name up to its first '.'
  std::string path;  // folder with its final separator, or empty
};
WorkspaceProject describeWorkspaceEntry(const std::string& entry, PathStyle style);

}  // namespace tessmark

#endif  // TESSMARK_WORKSPACE_H_
