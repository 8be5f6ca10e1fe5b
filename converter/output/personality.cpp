// Personality files: empty defaults for the message and compiler personalities, a generated
// analyser personality for every node with include paths or defines, and a default analyser
// personality for the rest.
#include "output/personality.h"

#include <filesystem>
#include <system_error>

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

bool ConverterSession::ensureFolder(const std::string& folder) const {
  if (platform::exists(folder))
    return false;
  const platform::CreateResult result = platform::createDirectory(folder);
  if (result == platform::CreateResult::kFailed)
    throw IOERROR(IOERROR::CannotCreateDirectory, folder);
  return result == platform::CreateResult::kCreated;
}

void ConverterSession::ensureFolderIn(bool parentMadeNow, const std::string& folder) const {
  if (!parentMadeNow) {
    ensureFolder(folder);
  } else if (platform::createDirectory(folder) == platform::CreateResult::kFailed) {
    throw IOERROR(IOERROR::CannotCreateDirectory, folder);
  }
}

bool ConverterSession::isPresent(const std::string& path) const {
  if (present_.count(path) != 0)
    return true;
  if (!platform::exists(path))
    return false;
  present_.insert(path);
  return true;
}

std::string ConverterSession::defaultPersonalityFolder() const {
  return destFolder + separator() + "person" + separator();
}

std::string ConverterSession::defaultPersonalityPath(const char* extension) const {
  return defaultPersonalityFolder() + projectName + extension;
}

// The default message and compiler personalities are emptied for every entry. Emptying an
// empty file changes nothing, so once this run has emptied one, it skips doing so again until
// another personality file has been written (notePersonalityWritten). A default that is the
// project file itself (through a link) is emptied every time, as it keeps growing.

// A failure to empty the default message personality goes unreported.
std::string ConverterSession::messagePersonalityPath() const {
  if (!messagePersonality.empty())
    return messagePersonality;
  const std::string path = defaultPersonalityPath(".p_s");
  if (messageEmptied_)
    return path;
  ensureFolder(defaultPersonalityFolder());
  flushProjectFile();
  OutputFile file;
  if (file.open(path)) {
    try {
      file.close();
      messageEmptied_ = !isProjectFile(path);
    } catch (const IOERROR&) {
    }
  }
  return path;
}

std::string ConverterSession::compilerPersonalityPath() const {
  if (!compilerPersonality.empty())
    return compilerPersonality;
  const std::string path = defaultPersonalityPath(".p_c");
  if (compilerEmptied_)
    return path;
  ensureFolder(defaultPersonalityFolder());
  flushProjectFile();
  OutputFile file;
  if (!file.open(path))
    throw IOERROR(IOERROR::CannotWriteFile, path);
  file.close();
  compilerEmptied_ = !isProjectFile(path);
  return path;
}

void ConverterSession::notePersonalityWritten() const {
  flushProjectFile();
  messageEmptied_ = false;
  compilerEmptied_ = false;
}

// The project file's lines wait in its buffer until another file is opened for writing or
// read: only then could their absence from the disk be seen (through a link, or the user's
// analyser personality naming the project file), so every file ends up as if each line had
// been flushed at once.
void ConverterSession::flushProjectFile() const {
  if (projectFile_ != nullptr)
    projectFile_->flush();
}

// When unsure, the answer is yes: the default is then emptied every time, as it always was.
bool ConverterSession::isProjectFile(const std::string& path) const {
  std::error_code error;
  const bool same =
      std::filesystem::equivalent(path, destFolder + separator() + projectName + ".prj", error);
  return same || error;
}

void ConverterSession::appendUserAnalyserPersonality(OutputFile& out) const {
  if (analyserPersonality.empty())
    return;
  // The user's file may be one of those being written: what they hold so far is on disk first.
  out.flush();
  flushProjectFile();
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
  session->notePersonalityWritten();
  OutputFile out;
  if (!out.open(path, OutputFile::Flushing::kWhenAsked))
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
