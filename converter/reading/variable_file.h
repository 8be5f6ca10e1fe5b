// Custom argument variable files as IAR writes them: <iarUserArgVars> holding groups of
// <variable><name>N</name><value>V</value></variable>; only groups with active="true" count.
#ifndef TESSMARK_READING_VARIABLE_FILE_H_
#define TESSMARK_READING_VARIABLE_FILE_H_

#include <string>
#include <utility>
#include <vector>

namespace tessmark {

using VariableDefinitions = std::vector<std::pair<std::string, std::string>>;

// Reads the definitions of the active groups, in file order. False when the file cannot be read,
// its root is another element, or it does not read to the end of its root; *definitions is then
// left empty. Elements the grammar does not name are dropped with all they hold.
bool readVariableFile(const std::string& path, VariableDefinitions* definitions);

}  // namespace tessmark

#endif  // TESSMARK_READING_VARIABLE_FILE_H_
