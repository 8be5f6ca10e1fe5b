// The rules that choose the personality files a folder entry names. Pure functions of the
// node's names and folders; the session applies them and makes the files.
#ifndef TESSMARK_OUTPUT_PERSONALITY_H_
#define TESSMARK_OUTPUT_PERSONALITY_H_

#include <string>

#include "paths.h"

namespace tessmark {

// The base name of a node name for its generated analyser personality: after the last '\', or
// else after the last '/', or else the whole name. The same on every platform.
std::string analyserBaseName(const std::string& name);

// The last component of a relative folder, the separator picked by which of '\' and '/' comes
// first, as the candidate of a node without options of its own is built.
std::string lastComponent(const std::string& relativeFolder);

// Where a node without options looks for the analyser personality of its configuration:
// D, R, "person", L.p_a joined with the style's separator.
std::string analyserCandidate(const std::string& destFolder, const std::string& relativeFolder,
                              PathStyle style);

// True when a node name holds ".." as a whole component ('\' and '/' both separate), which
// would put its folders outside the destination, or a NUL byte, which would make the system
// act on another name than the one reported.
bool climbsOut(const std::string& name);

}  // namespace tessmark

#endif  // TESSMARK_OUTPUT_PERSONALITY_H_
