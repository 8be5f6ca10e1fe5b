// Personality files: empty defaults for the message and compiler personalities, a generated
// analyser personality for every node with include paths or defines, and a default analyser
// personality for the rest.
#include "output/personality.h"

#include "console.h"
#include "io_error.h"
#include "platform/platform.h"
#include "session.h"
#include "text_file.h"

namespace tessmark {

std::string analyserBaseName(const std::string& name) {
  size_t cut = name.rfind('\\');
  if (cut == std::string::npos)
    cut = name.rfind('/');
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

std::string lastComponent(const std::string& relativeFolder) {
  const size_t backslash = relativeFolder.find('\\');
  const size_t slash = relativeFolder.find('/');
  if (backslash == std::string::npos && slash == std::string::npos)
    return relativeFolder;
  const bool pickBackslash =
      slash == std::string::npos || (backslash != std::string::npos && backslash > slash);
  return relativeFolder.substr(relativeFolder.rfind(pickBackslash ? '\\' : '/') + 1);
}

std::string analyserCandidate(const std::string& destFolder, const std::string& relativeFolder,
                              PathStyle style) {
  const char sep = separatorOf(style);
  return destFolder + sep + relativeFolder + sep + "person" + sep + lastComponent(relativeFolder) +
         ".p_a";
}

bool climbsOut(const std::string& name) {
  // The system ends a path at a NUL byte: "..\0x" would be ".." to it, "src\0x" would be src.
  if (name.find('\0') != std::string::npos)
    return true;
  size_t start = 0;
  for (;;) {
    const size_t end = name.find_first_of("\\/", start);
    if (name.compare(start, end == std::string::npos ? std::string::npos : end - start, "..") ==
        0) {
      return true;
    }
    if (end == std::string::npos)
      return false;
    start = end + 1;
  }
}

void ConverterSession::ensureFolder(const std::string& folder) const {
  if (platform::exists(folder))
    return;
  if (platform::createDirectory(folder) == platform::CreateResult::kFailed) {
    throw IOERROR(IOERROR::CannotCreateDirectory, folder);
  }
}

std::string ConverterSession::defaultPersonalityFolder() const {
  return destFolder + separator() + "person" + separator();
}

std::string ConverterSession::defaultPersonalityPath(const char* extension) const {
  return defaultPersonalityFolder() + projectName + extension;
}

// The default message personality is emptied each time; a failure to do so goes unreported.
std::string ConverterSession::messagePersonalityPath() const {
  if (!messagePersonality.empty())
    return messagePersonality;
  ensureFolder(defaultPersonalityFolder());
  const std::string path = defaultPersonalityPath(".p_s");
  OutputFile file;
  if (file.open(path)) {
    try {
      file.close();
    } catch (const IOERROR&) {
    }
  }
  return path;
}

std::string ConverterSession::compilerPersonalityPath() const {
  if (!compilerPersonality.empty())
    return compilerPersonality;
  ensureFolder(defaultPersonalityFolder());
  const std::string path = defaultPersonalityPath(".p_c");
  OutputFile file;
  if (!file.open(path))
    throw IOERROR(IOERROR::CannotWriteFile, path);
  file.close();
  return path;
}

void ConverterSession::appendUserAnalyserPersonality(OutputFile& out) const {
  if (analyserPersonality.empty())
    return;
  InputFile user;
  if (!user.open(analyserPersonality)) {
    printLine("Couldnt open file");
    return;
  }
  std::string text;
  user.readAll(&text);
  out.writeText(text);
}

void ProjectNode::writeAnalyserPersonality(const std::string& path) const {
  OutputFile out;
  if (!out.open(path))
    throw IOERROR(IOERROR::CannotWriteFile, path);
  for (const std::string& folder : includePaths)
    out.writeLine("-i \"" + folder + "\"");
  for (const auto& [symbol, value] : defines) {
    out.writeLine(value.empty() ? "-d \"" + symbol + "\"" : "-d \"" + symbol + "=" + value + "\"");
  }
  session->appendUserAnalyserPersonality(out);
  out.close();
}

}  // namespace tessmark
