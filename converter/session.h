// One conversion: the paths and options from the command line, the project tree the readers
// fill and the writers walk, and the XML reader. The readers and writers are its operations.
#ifndef TESSMARK_SESSION_H_
#define TESSMARK_SESSION_H_

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "iar_default.h"
#include "model/project_node.h"
#include "path_finder.h"
#include "paths.h"
#include "reading/xml_reader.h"

namespace tessmark {

class ConverterSession {
 public:
  // sourcePath and destFolder are absolute; an empty iarInstallDir takes the registry default.
  ConverterSession(std::string sourcePath, std::string destFolder, std::string iarInstallDir,
                   PathStyle style = nativePathStyle());
  ConverterSession(const ConverterSession&) = delete;
  ConverterSession& operator=(const ConverterSession&) = delete;

  // Appends the comma-separated pieces of one "-ext" value, exactly as written, an empty last
  // piece included.
  void addExtensions(const std::string& value);

  // Reads every project and writes the Korval project. 0 when it ran to its end, 1 after a
  // reported error (one line on standard output).
  int run();

  // --- fields set from the command line ---
  std::string sourcePath;
  std::string destFolder;
  std::string projectName;
  std::string iarInstallDir;
  std::string messagePersonality;
  std::string analyserPersonality;
  std::string compilerPersonality;
  std::vector<std::string> extensions;

  // --- the tree and the reading state ---
  ProjectNode* rootProject;                         // owned through nodes_
  std::vector<ProjectNode*> currentConfigurations;  // of the project being read
  XMLReader reader;
  const PathStyle style;

  // A new node owned by the session, attached nowhere.
  ProjectNode* newNode(const std::string& name);
  char separator() const { return separatorOf(style); }

  // --- workspace scan ---
  std::vector<std::string> scanWorkspace();
  ProjectNode* makeWorkspaceProject(const std::string& entry);

  // --- project reading: each element reader consumes nothing and returns false when its
  // element is not next ---
  bool readProject(ProjectNode* project);
  bool readSettingsData(ProjectNode* configuration);
  bool keepsFile(const std::string& path) const;

  // --- output ---
  int writeProjectFile();
  // Creates folder when nothing exists under its path; true when it was made now.
  bool ensureFolder(const std::string& folder) const;
  // ensureFolder for a folder inside one that was made now: nothing can be there yet, so the
  // existence test is left out.
  void ensureFolderIn(bool parentMadeNow, const std::string& folder) const;
  // True when something exists under path. Nothing in a run removes a file or folder, so a
  // path once found is remembered and not asked about again.
  bool isPresent(const std::string& path) const;
  std::string messagePersonalityPath() const;
  std::string compilerPersonalityPath() const;
  std::string defaultPersonalityFolder() const;
  std::string defaultPersonalityPath(const char* extension) const;
  // Appends the text of the user's analyser personality to out; prints "Couldnt open file"
  // when it cannot be read.
  void appendUserAnalyserPersonality(OutputFile& out) const;
  // Called before a personality file is written: it may be the default message or compiler
  // personality under another name (a link), so those are emptied again at their next use.
  void notePersonalityWritten() const;

 private:
  bool readConfiguration(ProjectNode* project);
  bool readToolchain();
  bool readSettings(ProjectNode* configuration);
  bool readGroup(ProjectNode* parent, ProjectNode* project, int depth);
  bool readFile(std::string* path, std::vector<std::string>* excluded);
  bool readConfigurationList(const char* element, std::vector<std::string>* names = nullptr);
  bool readName(std::string* name);
  bool readSimpleElement(const char* element);
  bool readOption(ProjectNode* configuration);
  void forgetOption();
  void applyOption(ProjectNode* configuration, const std::string& option,
                   std::vector<std::string>& states);
  std::string projectFolder(const ProjectNode* node) const;
  // A source file's path as it is used and written: "$EW_DIR$" replaced, then readPath.
  std::string filePath(const std::string& file, const ProjectNode* project);
  // A path read from the project file as it is used and written: its first "$PROJ_DIR$" replaced
  // by the folder of node (a project or a configuration), its separators made native, and then
  // found on disk.
  std::string readPath(const std::string& value, const ProjectNode* node);
  std::string makeNative(std::string path) const;
  // On POSIX, the path as Windows would find it on this disk (PathFinder); Windows finds IAR's
  // paths itself.
  std::string foundOnDisk(std::string path);
  void attachGroup(ProjectNode* group, ProjectNode* parent);
  // Both return true, so they can follow a successful readFile in a condition. excluded names
  // the configurations that do not compile the file; addGroupFile may take its contents.
  bool addGroupFile(ProjectNode* group, const ProjectNode* project, const std::string& file,
                    std::vector<std::string>& excluded);
  bool addTopLevelFile(ProjectNode* project, const std::string& file,
                       const std::vector<std::string>& excluded);

  // Elements that may come in any order: tries each reader on the pending token until one reads
  // its element (true). False when none did, or when one broke off inside its element: the
  // others are not tried on the token it stopped at, which stays pending to be reported.
  template <typename... Readers>
  bool readOneOf(Readers... readers) {
    const size_t start = reader.tokensConsumed();
    return ((reader.tokensConsumed() == start && readers()) || ...);
  }

  void flushProjectFile() const;
  bool isProjectFile(const std::string& path) const;

  std::vector<std::unique_ptr<ProjectNode>> nodes_;
  PathFinder pathFinder_;    // what the readers learnt of the disk, for the whole run
  std::string openingPath_;  // the file being opened, for "Could not open file: "

  std::string optionName_;                 // of the option being read, empty between options
  std::vector<std::string> optionStates_;  // its non-empty states, empty between options

  // --- what the writers know of the disk during one writeProjectFile ---
  OutputFile* projectFile_ = nullptr;  // the open project file, not owned
  mutable std::unordered_set<std::string> present_;
  // True while the default message (compiler) personality is known to be empty since this run
  // emptied it; emptying it again would change nothing.
  mutable bool messageEmptied_ = false;
  mutable bool compilerEmptied_ = false;
};

}  // namespace tessmark

#endif  // TESSMARK_SESSION_H_
