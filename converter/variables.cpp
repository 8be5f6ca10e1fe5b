#include "variables.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tessmark {
namespace {

// A custom value that grows past this while it is expanded is not a path anyone wrote: a
// hostile chain of doubling definitions would otherwise take all memory.
constexpr size_t kMaxExpandedLength = 1 << 20;

constexpr std::string_view kProjectDir = "PROJ_DIR";

// The other names the converter gives values itself, with the field of a scope that holds each.
constexpr std::pair<std::string_view, std::optional<std::string> VariableScope::*> kReserved[] = {
    {"PROJ_FNAME", &VariableScope::projectName}, {"PROJ_PATH", &VariableScope::projectPath},
    {"WS_DIR", &VariableScope::workspaceDir},    {"EW_DIR", &VariableScope::iarFolder},
    {"TOOLKIT_DIR", &VariableScope::toolkitDir}, {"CONFIG_NAME", &VariableScope::configuration}};

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

class Expander {
 public:
  explicit Expander(const VariableScope& scope) : scope_(scope) {}

  // value expanded; *chain gets the longest chain of custom variables it went through. A value
  // is nested when it is itself a custom value: its custom variables are then taken whatever
  // their chain, which the reference to the value it belongs to is judged by.
  std::string expand(std::string_view value, bool nested, int* chain) {
    std::string out;
    size_t at = 0;
    for (size_t dollar = value.find('$'); dollar != std::string_view::npos;
         dollar = value.find('$', at)) {
      const size_t close = value.find('$', dollar + 1);
      if (close == std::string_view::npos)
        break;
      out.append(value, at, dollar - at);
      const std::string_view name = value.substr(dollar + 1, close - dollar - 1);
      if (replace(name, value.substr(close + 1), nested, &out, chain)) {
        at = close + 1;
      } else {
        out.push_back('$');
        at = dollar + 1;
      }
    }
    out.append(value, at, std::string_view::npos);
    return out;
  }

 private:
  // Appends the value of the variable name to *out; false when it is unknown here. rest is what
  // follows the variable.
  bool replace(std::string_view name, std::string_view rest, bool nested, std::string* out,
               int* chain) {
    if (name == kProjectDir)
      return appendProjectDir(rest, out);
    if (const std::optional<std::string>* value = reserved(name))
      return *value ? (out->append(**value), true) : false;
    std::string environmentValue;
    if (name.size() > 2 && name.front() == '_' && name.back() == '_' && scope_.environment &&
        scope_.environment(std::string(name.substr(1, name.size() - 2)), &environmentValue)) {
      out->append(environmentValue);
      return true;
    }
    const VariableScope::Expanded* custom = expandedCustom(name);
    if (custom == nullptr)
      return false;
    if (nested)
      *chain = std::max(*chain, custom->chain);  // an unusable one makes its user unusable
    if (custom->chain > kMaxCustomDepth)
      return false;
    out->append(custom->text);
    return true;
  }

  // IAR's folder has no final separator, so "$PROJ_DIR$..\x" means "<folder>..\x" (which
  // Windows reads as "<folder>\x"): glued to a name, the folder's trailing separators are dropped.
  bool appendProjectDir(std::string_view rest, std::string* out) const {
    if (!scope_.projectFolder)
      return false;
    const std::string& folder = *scope_.projectFolder;
    const bool glued = !rest.empty() && rest[0] != '\\' && rest[0] != '/';
    const size_t kept =
        glued ? folder.find_last_not_of(separatorOf(scope_.style)) + 1 : folder.size();
    out->append(folder, 0, kept);
    return true;
  }

  const std::optional<std::string>* reserved(std::string_view name) const {
    for (const auto& [reservedName, field] : kReserved) {
      if (name == reservedName)
        return &(scope_.*field);
    }
    return nullptr;
  }

  // The custom variable's value expanded in this scope, kept for the scope's later values; null
  // when no custom variable has the name.
  const VariableScope::Expanded* expandedCustom(std::string_view name) {
    const std::string* value = scope_.custom ? scope_.custom->find(name) : nullptr;
    if (value == nullptr)
      return nullptr;
    auto& kept = scope_.expandedCustom;
    const std::string key(name);
    const auto found = kept.find(key);
    if (found != kept.end())
      return &found->second;
    // Marked unusable while it is expanded, so a reference back to it ends the cycle.
    kept[key] = {std::string(), VariableScope::kUnusable};
    int chain = 0;
    std::string text = expand(*value, true, &chain);
    chain = chain >= VariableScope::kUnusable || text.size() > kMaxExpandedLength
                ? VariableScope::kUnusable
                : chain + 1;
    if (chain == VariableScope::kUnusable)
      text.clear();
    return &(kept[key] = {std::move(text), chain});
  }

  const VariableScope& scope_;
};

}  // namespace

bool isVariableName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), isNameChar);
}

bool isReservedVariable(std::string_view name) {
  return name == kProjectDir ||
         std::any_of(std::begin(kReserved), std::end(kReserved),
                     [&](const auto& reserved) { return name == reserved.first; });
}

std::string toolkitFolder(const std::string& toolchain) {
  static const std::pair<const char*, const char*> kFolders[] = {{"MSP430", "430"},
                                                                 {"78000", "78k"}};
  for (const auto& [name, folder] : kFolders) {
    if (toolchain == name)
      return folder;
  }
  std::string folder = toolchain;
  std::transform(folder.begin(), folder.end(), folder.begin(), lowerAscii);
  return folder;
}

bool CustomVariables::define(const std::string& name, const std::string& value) {
  if (isReservedVariable(name))
    return false;
  return values_.emplace(name, value).second;
}

const std::string* CustomVariables::find(std::string_view name) const {
  const auto found = values_.find(std::string(name));
  return found == values_.end() ? nullptr : &found->second;
}

std::string expandVariables(const std::string& value, const VariableScope& scope) {
  if (value.find('$') == std::string::npos)
    return value;
  int chain = 0;
  return Expander(scope).expand(value, false, &chain);
}

std::vector<std::string> variablesIn(const std::string& value) {
  std::vector<std::string> names;
  for (size_t dollar = value.find('$'); dollar != std::string::npos;
       dollar = value.find('$', dollar + 1)) {
    const size_t close = value.find('$', dollar + 1);
    if (close == std::string::npos)
      break;
    const std::string_view name = std::string_view(value).substr(dollar + 1, close - dollar - 1);
    if (isVariableName(name))
      names.emplace_back(name);
  }
  return names;
}

}  // namespace tessmark
