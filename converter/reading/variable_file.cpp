#include "reading/variable_file.h"

#include "paths.h"
#include "reading/xml_reader.h"

namespace tessmark {
namespace {

bool isVariableFileName(std::string_view name) {
  return name == "iarUserArgVars" || name == "group" || name == "variable" || name == "name" ||
         name == "value";
}

class VariableFileReader {
 public:
  explicit VariableFileReader(VariableDefinitions* definitions) : definitions_(definitions) {}

  bool read(const std::string& path) {
    try {
      reader_.open(path);
      std::string attributes;
      if (!reader_.matchStartTag("iarUserArgVars", &attributes))
        return false;
      while (readGroup()) {
      }
      return reader_.matchEnd("iarUserArgVars");
    } catch (const XMLReaderError&) {
      return false;
    }
  }

 private:
  bool readGroup() {
    std::string attributes;
    if (!reader_.matchStartTag("group", &attributes))
      return false;
    const bool active = attributeValue(attributes, "active") == std::string("true");
    while (readVariable(active)) {
    }
    return reader_.matchEnd("group");
  }

  bool readVariable(bool active) {
    if (!reader_.matchStart("variable"))
      return false;
    std::string name;
    std::string value;
    readSimple("name", &name);
    readSimple("value", &value);
    if (!reader_.matchEnd("variable"))
      return false;
    if (active && !name.empty())
      definitions_->emplace_back(unbrokenValue(name), unbrokenValue(value));
    return true;
  }

  bool readSimple(const char* element, std::string* text) {
    return reader_.matchStart(element) && reader_.readText(text) && reader_.matchEnd(element);
  }

  XMLReader reader_{isVariableFileName};
  VariableDefinitions* definitions_;
};

}  // namespace

bool readVariableFile(const std::string& path, VariableDefinitions* definitions) {
  definitions->clear();
  if (VariableFileReader(definitions).read(path))
    return true;
  definitions->clear();
  return false;
}

}  // namespace tessmark
