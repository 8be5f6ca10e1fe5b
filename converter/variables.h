// IAR's argument variables ($PROJ_DIR$, $TOOLKIT_DIR$, custom ones...) as pure string rules: a
// scope says what each name stands for where a value is read, and one pass expands a value.
#ifndef TESSMARK_VARIABLES_H_
#define TESSMARK_VARIABLES_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "paths.h"

namespace tessmark {

// A custom value holding variables is expanded when used, through at most this many custom
// variables in a chain; a deeper or circular chain leaves its outermost reference as written.
constexpr int kMaxCustomDepth = 8;

// True for one or more ASCII letters, digits and underscores: what may stand between two '$'.
bool isVariableName(std::string_view name);

// True for the names the converter gives values itself; no variable file can define them.
bool isReservedVariable(std::string_view name);

// The folder below the IAR folder that holds a toolchain's own files: "ARM" gives "arm",
// "MSP430" "430", "78000" "78k"; any other name in lower case.
std::string toolkitFolder(const std::string& toolchain);

// Custom argument variables for a run: the first definition of a name wins.
class CustomVariables {
 public:
  // Defines name unless it is reserved or already defined; false when it was not defined.
  bool define(const std::string& name, const std::string& value);
  const std::string* find(std::string_view name) const;
  bool empty() const { return values_.empty(); }

 private:
  std::unordered_map<std::string, std::string> values_;
};

// What the variables stand for where one kind of value is read. A name whose field is empty
// (nullopt) is unknown there and stays as written.
struct VariableScope {
  PathStyle style = PathStyle::kWindows;
  std::optional<std::string> projectFolder;  // $PROJ_DIR$: the project's folder
  std::optional<std::string> projectName;    // $PROJ_FNAME$: its file name without extension
  std::optional<std::string> projectPath;    // $PROJ_PATH$: its path as opened
  std::optional<std::string> workspaceDir;   // $WS_DIR$: with one separator at its end
  std::optional<std::string> iarFolder;      // $EW_DIR$
  std::optional<std::string> toolkitDir;     // $TOOLKIT_DIR$
  std::optional<std::string> configuration;  // $CONFIG_NAME$
  const CustomVariables* custom = nullptr;   // not owned; may be null
  // $_NAME_$: the environment variable NAME; true and *value when it is set.
  std::function<bool(const std::string& name, std::string* value)> environment;

  // Custom values expanded in this scope so far, by name, with the length of their longest
  // chain of custom variables (kUnusable when too deep, circular or too long).
  struct Expanded {
    std::string text;
    int chain;
  };
  static constexpr int kUnusable = 1 << 20;
  mutable std::unordered_map<std::string, Expanded> expandedCustom;
};

// The value with every variable the scope knows replaced, in one pass from left to right: at
// each '$', when the text up to the next '$' names a known variable, both '$' and the name are
// replaced by its value and the scan goes on after them; otherwise the '$' is kept and the scan
// goes on after it. A replacement is not scanned again, except a custom variable's value, whose
// own variables are expanded with it. "$PROJ_DIR$" followed directly by anything but a separator
// stands for the project's folder without its final separators.
std::string expandVariables(const std::string& value, const VariableScope& scope);

// The names of the variables a value still holds: every '$' opens a candidate up to the next
// '$', which names a variable when it is one or more letters, digits and underscores. In order,
// duplicates kept.
std::vector<std::string> variablesIn(const std::string& value);

}  // namespace tessmark

#endif  // TESSMARK_VARIABLES_H_
