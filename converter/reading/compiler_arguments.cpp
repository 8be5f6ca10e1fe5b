#include "reading/compiler_arguments.h"

namespace tessmark {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The position after the comment that starts at `at` in an option file, or npos when none does.
size_t afterComment(const std::string& text, size_t at) {
  if (text.compare(at, 2, "//") == 0) {
    const size_t end = text.find('\n', at);
    return end == std::string::npos ? text.size() : end;
  }
  if (text.compare(at, 2, "/*") == 0) {
    const size_t end = text.find("*/", at + 2);
    return end == std::string::npos ? text.size() : end + 2;
  }
  return std::string::npos;
}

CompilerArgument defineOf(const std::string& text) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos)
    return {CompilerArgument::kDefine, text, std::string()};
  return {CompilerArgument::kDefine, text.substr(0, equals), text.substr(equals + 1)};
}

}  // namespace

std::vector<std::string> splitArguments(const std::string& text, ArgumentText kind) {
  std::vector<std::string> arguments;
  std::string argument;
  bool inArgument = false;
  bool quoted = false;
  for (size_t at = 0; at < text.size();) {
    const char c = text[at];
    const size_t comment =
        kind == ArgumentText::kOptionFile && !quoted ? afterComment(text, at) : std::string::npos;
    if (comment != std::string::npos || (!quoted && isBlank(c))) {
      if (inArgument)
        arguments.push_back(std::move(argument));
      argument.clear();
      inArgument = false;
      at = comment != std::string::npos ? comment : at + 1;
      continue;
    }
    if (c == '"')
      quoted = !quoted;
    else
      argument.push_back(c);
    inArgument = true;
    ++at;
  }
  if (inArgument)
    arguments.push_back(std::move(argument));
  return arguments;
}

std::vector<CompilerArgument> readCompilerArguments(const std::vector<std::string>& arguments) {
  std::vector<CompilerArgument> read;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasNext = i + 1 < arguments.size();
    if (argument == "--preinclude") {
      if (hasNext)
        read.push_back({CompilerArgument::kPreInclude, arguments[++i], std::string()});
      continue;
    }
    if (argument.size() < 2 || argument[0] != '-')
      continue;
    const char option = argument[1];
    if (option != 'D' && option != 'I' && option != 'f')
      continue;
    std::string value = argument.substr(2);
    if (value.empty()) {
      if (!hasNext)
        continue;
      value = arguments[++i];
    }
    if (option == 'D') {
      read.push_back(defineOf(value));
    } else {
      read.push_back(
          {option == 'I' ? CompilerArgument::kIncludePath : CompilerArgument::kOptionFile, value,
           std::string()});
    }
  }
  return read;
}

}  // namespace tessmark
