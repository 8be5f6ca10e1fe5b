// The Korval project file: "VersionTag45", then the folder entry of the root, which holds those
// of its children. The walk makes one folder (with output and person sub-folders) per node.
#include <algorithm>

#include "console.h"
#include "io_error.h"
#include "output/personality.h"
#include "session.h"
#include "text_file.h"

namespace tessmark {

// The project file is put in place only once the walk is complete: a run that fails leaves the
// project file of the last run as it was (OutputFile).
void ConverterSession::writeProjectFile() {
  const std::string path = destFolder + separator() + projectName + ".prj";
  OutputFile out;
  if (!out.open(path))
    throw IOERROR(IOERROR::CannotWriteFile, path);
  readUserAnalyserPersonality();
  printLine("Creating Korval/Korval++ Project ...");
  out.writeLine("VersionTag45");
  rootProject->writeFolderEntry(out, std::string(), defaultPersonalityPath(".p_a"), nullptr);
  out.commit();
  printLine("Korval/Korval++ Project Completed!");
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

bool names(const std::vector<std::string>& configurations, const std::string& configuration) {
  return std::find(configurations.begin(), configurations.end(), configuration) !=
         configurations.end();
}

bool excludedWithItsGroups(const ProjectNode& node, const std::string& configuration) {
  for (const ProjectNode* group = &node; group != nullptr; group = group->enclosingGroup) {
    if (group->exclusions != nullptr && names(group->exclusions->group, configuration))
      return true;
  }
  return false;
}

// The files of a node that one configuration compiles: under no configuration all of them;
// none when the node or a group around it is excluded from it; otherwise those whose own
// exclusions do not name it.
class ListedFiles {
 public:
  ListedFiles(const ProjectNode& node, const std::string* configuration)
      : node_(node), configuration_(configuration) {
    if (configuration == nullptr)
      rule_ = Rule::kAll;
    else if (excludedWithItsGroups(node, *configuration))
      rule_ = Rule::kNone;
    else if (node.exclusions == nullptr || node.exclusions->files.empty())
      rule_ = Rule::kAll;
    else
      rule_ = Rule::kByFile;
  }

  bool lists(size_t file) const {
    if (rule_ != Rule::kByFile)
      return rule_ == Rule::kAll;
    const auto& exclusions = node_.exclusions->files;
    const auto found = std::lower_bound(
        exclusions.begin(), exclusions.end(), file,
        [](const ProjectNode::FileExclusion& e, size_t index) { return e.file < index; });
    return found == exclusions.end() || found->file != file ||
           !names(found->configurations, *configuration_);
  }

  bool empty() const {
    if (rule_ == Rule::kNone || node_.files.empty())
      return true;
    // Each file has at most one exclusion entry: with fewer entries than files, one is listed.
    if (rule_ == Rule::kAll || node_.exclusions->files.size() < node_.files.size())
      return false;
    for (size_t file = 0; file < node_.files.size(); ++file) {
      if (lists(file))
        return false;
    }
    return true;
  }

 private:
  enum class Rule { kAll, kNone, kByFile };
  const ProjectNode& node_;
  const std::string* configuration_;
  Rule rule_;
};

// Writes the three personality lines of node's entry, making the files they name; returns the
// analyser personality handed down to the node's children.
std::string writePersonalities(const ProjectNode& node, OutputFile& out, const std::string& folder,
                               const std::string& relativeFolder,
                               const std::string& handedDownAnalyser) {
  const ConverterSession& s = *node.session;
  out.writeLine("SubsPers=" + s.messagePersonalityPath());
  std::string analyser;
  if (node.hasOptions()) {
    const char sep = s.separator();
    analyser = folder + sep + "person" + sep + analyserBaseName(node.name) + ".p_a";
    printLine("  Creating Analyser Personality - " + analyser);
    out.writeLine("AnalPers=" + analyser);
    node.writeAnalyserPersonality(analyser);
  } else {
    analyser = inheritedAnalyser(s, relativeFolder, handedDownAnalyser);
    out.writeLine("AnalPers=" + analyser);
    makeDefaultAnalyser(s, analyser);
  }
  out.writeLine("CompPers=" + s.compilerPersonalityPath());
  return analyser;
}

}  // namespace

void ProjectNode::writeFolderEntry(OutputFile& out, const std::string& relativeFolder,
                                   std::string handedDownAnalyser,
                                   const std::string* configuration) const {
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
  // A configuration lists its own files and its groups' for itself alone.
  const std::string* listedFor = isConfiguration ? &name : configuration;
  const ListedFiles listed(*this, listedFor);
  if (listed.empty() && children.empty())
    return;

  printLine("  Creating Group - " + name);
  out.writeLine("StartProjectMarker");
  out.writeLine("FolderName=" + name);
  out.writeLine("SourcePath=" + (path.empty() ? folder + sep : path));
  out.writeLine("OutputPath=" + folder + sep + "output" + sep);
  const std::string analyser =
      writePersonalities(*this, out, folder, relativeFolder, handedDownAnalyser);
  for (size_t file = 0; file < files.size(); ++file) {
    if (!files[file].empty() && listed.lists(file))
      out.writeLine(files[file]);
  }
  out.writeLine("EndContainedFilesMarker");
  if (children.empty())
    return;
  out.writeLine("StartSubProjectMarker");
  const std::string childFolder = relativeFolder.empty() ? name : relativeFolder + sep + name;
  // A node with options of its own hands its generated file down to its children.
  for (const ProjectNode* child : children)
    child->writeFolderEntry(out, childFolder, analyser, listedFor);
  out.writeLine("EndSubProjectMarker");
}

}  // namespace tessmark
