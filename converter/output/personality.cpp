// Personality files: empty defaults for the message and compiler personalities where there are
// none yet, a generated analyser personality for every node with include paths or defines, and a
// default analyser personality for the rest.
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

// The default message and compiler personalities are the user's to edit (-fi entries, message
// settings): a run only creates them, empty, where nothing of their name exists, not even a link.
// Once a default is settled (kept, made, or for the message personality failed), the run does not
// look at it again. False when it cannot be made.
bool ConverterSession::keepOrMakeEmptyDefault(const std::string& path) const {
  ensureFolder(defaultPersonalityFolder());
  return platform::entryExists(path) || createEmptyFile(path);
}

// A failure to make the default message personality goes unreported.
std::string ConverterSession::messagePersonalityPath() const {
  if (!messagePersonality.empty())
    return messagePersonality;
  const std::string path = defaultPersonalityPath(".p_s");
  if (!messageDefaultSettled_)
    keepOrMakeEmptyDefault(path);
  messageDefaultSettled_ = true;
  return path;
}

std::string ConverterSession::compilerPersonalityPath() const {
  if (!compilerPersonality.empty())
    return compilerPersonality;
  const std::string path = defaultPersonalityPath(".p_c");
  if (!compilerDefaultSettled_ && !keepOrMakeEmptyDefault(path))
    throw IOERROR(IOERROR::CannotWriteFile, path);
  compilerDefaultSettled_ = true;
  return path;
}

// Read once, before any file is written: the user's file may be one of them, and every file
// that receives its text gets what it held when the run began.
void ConverterSession::readUserAnalyserPersonality() {
  userAnalyserText_.clear();
  InputFile user;
  userAnalyserReadable_ = !analyserPersonality.empty() && user.open(analyserPersonality);
  if (userAnalyserReadable_)
    user.readAll(&userAnalyserText_);
}

void ConverterSession::appendUserAnalyserPersonality(OutputFile& out) const {
  if (analyserPersonality.empty())
    return;
  if (userAnalyserReadable_)
    out.writeText(userAnalyserText_);
  else
    printLine("Couldnt open file");
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
  out.commit();
}

}  // namespace tessmark
