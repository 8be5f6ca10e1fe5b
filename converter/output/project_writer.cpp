// The Korval project file: "VersionTag45", then the folder entry of the root, which holds those
// of its children. The walk makes one folder (with output and person sub-folders) per node.
#include "console.h"
#include "io_error.h"
#include "output/personality.h"
#include "session.h"
#include "text_file.h"

namespace tessmark {

// The project file is put in place only once the walk is complete: a run that fails leaves the
// project file of the last run as it was (OutputFile).
int ConverterSession::writeProjectFile() {
  const std::string path = destFolder + separator() + projectName + ".prj";
  OutputFile out;
  if (!out.open(path))
    throw IOERROR(IOERROR::CannotWriteFile, path);
  readUserAnalyserPersonality();
  printLine("Creating Korval/Korval++ Project ...");
  out.writeLine("VersionTag45");
  rootProject->writeFolderEntry(out, std::string(), defaultPersonalityPath(".p_a"));
  out.commit();
  printLine("Korval/Korval++ Project Completed!");
  return 0;
}

namespace {

// A node without include paths or defines names the generated personality of its
// configuration when one is on disk, otherwise what its parent handed down. The file it names
// is made when missing: empty, or a copy of the user's analyser personality.
std::string inheritedAnalyser(const ConverterSession& session, const std::string& relativeFolder,
                              const std::string& handedDown) {
  const std::string candidate =
      analyserCandidate(session.destFolder, relativeFolder, session.style);
  return session.isPresent(candidate) ? candidate : handedDown;
}

void makeDefaultAnalyser(const ConverterSession& session, const std::string& path) {
  if (session.isPresent(path))
    return;
  session.ensureFolder(session.defaultPersonalityFolder());
  OutputFile out;
  if (!out.open(path))
    throw IOERROR(IOERROR::CannotWriteFile, path);
  session.appendUserAnalyserPersonality(out);
  out.commit();
}

// Folders for the parts of a name before each '\' (or, where there is none, '/').
void ensureIntermediateFolders(const ConverterSession& session, const std::string& baseFolder,
                               const std::string& name) {
  size_t from = 0;
  for (;;) {
    const size_t backslash = name.find('\\', from);
    const size_t slash = name.find('/', from);
    if (backslash == std::string::npos && slash == std::string::npos)
      return;
    const size_t at = backslash != std::string::npos ? backslash : slash;
    session.ensureFolder(baseFolder + session.separator() + name.substr(0, at));
    from = at + 1;
  }
}

}  // namespace

void ProjectNode::writeFolderEntry(OutputFile& out, const std::string& relativeFolder,
                                   std::string handedDownAnalyser) const {
  const ConverterSession& s = *session;
  const char sep = s.separator();
  const std::string baseFolder =
      relativeFolder.empty() ? s.destFolder : s.destFolder + sep + relativeFolder;
  const std::string folder = baseFolder + sep + name;
  // A name read from an IAR file never makes anything outside the destination.
  if (climbsOut(name))
    throw IOERROR(IOERROR::CannotCreateDirectory, folder);
  ensureIntermediateFolders(s, baseFolder, name);
  const bool madeNow = s.ensureFolder(folder);
  s.ensureFolderIn(madeNow, folder + sep + "output" + sep);
  s.ensureFolderIn(madeNow, folder + sep + "person" + sep);
  if (files.empty() && children.empty())
    return;

  printLine("  Creating Group - " + name);
  out.writeLine("StartProjectMarker");
  out.writeLine("FolderName=" + name);
  out.writeLine("SourcePath=" + (path.empty() ? folder + sep : path));
  out.writeLine("OutputPath=" + folder + sep + "output" + sep);
  out.writeLine("SubsPers=" + s.messagePersonalityPath());

  std::string analyser;
  if (hasOptions()) {
    analyser = folder + sep + "person" + sep + analyserBaseName(name) + ".p_a";
    printLine("  Creating Analyser Personality - " + analyser);
    out.writeLine("AnalPers=" + analyser);
    writeAnalyserPersonality(analyser);
  } else {
    analyser = inheritedAnalyser(s, relativeFolder, handedDownAnalyser);
    out.writeLine("AnalPers=" + analyser);
    makeDefaultAnalyser(s, analyser);
  }
  out.writeLine("CompPers=" + s.compilerPersonalityPath());

  for (const std::string& file : files) {
    if (!file.empty())
      out.writeLine(file);
  }
  out.writeLine("EndContainedFilesMarker");
  if (children.empty())
    return;
  out.writeLine("StartSubProjectMarker");
  const std::string childFolder = relativeFolder.empty() ? name : relativeFolder + sep + name;
  // A node with options of its own hands its generated file down to its children.
  for (const ProjectNode* child : children)
    child->writeFolderEntry(out, childFolder, analyser);
  out.writeLine("EndSubProjectMarker");
}

}  // namespace tessmark
