// One conversion: the paths and options from the command line, the project tree the readers
// fill and the writers walk, and the XML reader. The readers and writers are its operations.
#ifndef TESSMARK_SESSION_H_
#define TESSMARK_SESSION_H_

#include <memory>
#include <string>
#include <vector>

#include "model/project_node.h"
#include "paths.h"
#include "reading/xml_reader.h"

namespace tessmark {

// The registry key IAR leaves for its IDE; its default value is the IDE's program path.
extern const char kIdeRegistryKey[];

// The IAR folder from the registry, or empty where there is none.
std::string defaultIARInstallDir();

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
  void ensureFolder(const std::string& folder) const;
  std::string messagePersonalityPath() const;
  std::string compilerPersonalityPath() const;
  std::string defaultPersonalityFolder() const;
  std::string defaultPersonalityPath(const char* extension) const;
  // Appends the text of the user's analyser personality to out; prints "Couldnt open file"
  // when it cannot be read.
  void appendUserAnalyserPersonality(OutputFile& out) const;

 private:
  bool readConfiguration(ProjectNode* project);
  bool readToolchain();
  bool readSettings(ProjectNode* configuration);
  bool readGroup(ProjectNode* parent, ProjectNode* project, int depth);
  bool readFile(std::string* path);
  bool readExcluded();
  bool readName(std::string* name);
  bool readSimpleElement(const char* element);
  bool readOption(ProjectNode* configuration);
  void applyOption(ProjectNode* configuration, const std::string& option,
                   const std::vector<std::string>& states);
  std::string projectFolder(const ProjectNode* node) const;
  std::string substituteVariables(const std::string& file, const ProjectNode* project) const;
  std::string makeNative(std::string path) const;
  void attachGroup(ProjectNode* group, ProjectNode* parent);
  void addTopLevelFile(ProjectNode* project, const std::string& file);

  std::vector<std::unique_ptr<ProjectNode>> nodes_;
  std::string openingPath_;  // the file being opened, for "Could not open file: "
};

}  // namespace tessmark

#endif  // TESSMARK_SESSION_H_
