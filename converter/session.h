// One conversion: the paths and options from the command line, the project tree the readers
// fill and the writers walk, and the XML reader. The readers and writers are its operations.
#ifndef TESSMARK_SESSION_H_
#define TESSMARK_SESSION_H_

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "iar_default.h"
#include "model/project_node.h"
#include "path_finder.h"
#include "paths.h"
#include "reading/xml_reader.h"
#include "variables.h"

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

  // Reads every project and writes the Korval project. 0 when everything was read and written,
  // 2 when the Korval project was written but a project file was not read to its end (each
  // reported with its place, then a warning line), 1 after a reported error (one line on
  // standard output).
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
  std::vector<std::string> variableFiles;  // from "-varfile", absolute, in command-line order

  // Custom argument variables from the variable files, for the whole run.
  CustomVariables customVariables;

  // The kinds of compiler extra options a settings block may hold.
  static constexpr int kExtraOptionKinds = 4;

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
  // Writes the Korval project, its folders and personalities. Raises IOERROR.
  void writeProjectFile();
  // Creates folder when nothing exists under its path; true when it was made now.
  bool ensureFolder(const std::string& folder) const;
  // ensureFolder for a folder inside one that was made now: nothing can be there yet, so the
  // existence test is left out.
  void ensureFolderIn(bool parentMadeNow, const std::string& folder) const;
  // True when something exists under path. Nothing in a run removes what it looks for (only its
  // own temporary files), so a path once found is remembered and not asked about again.
  bool isPresent(const std::string& path) const;
  std::string messagePersonalityPath() const;
  std::string compilerPersonalityPath() const;
  std::string defaultPersonalityFolder() const;
  std::string defaultPersonalityPath(const char* extension) const;
  // Appends the text the user's analyser personality held when the writing began to out;
  // prints "Couldnt open file" when it could not be read.
  void appendUserAnalyserPersonality(OutputFile& out) const;

 private:
  bool readConfiguration(ProjectNode* project);
  bool readToolchain(std::string* name);
  bool readSettings(ProjectNode* configuration);
  bool readGroup(ProjectNode* parent, ProjectNode* project, int depth);
  bool readFile(std::string* path, std::vector<std::string>* excluded);
  bool readConfigurationList(const char* element, std::vector<std::string>* names = nullptr);
  void readName(std::string* name);
  bool readSimpleElement(const char* element);
  bool readOption(ProjectNode* configuration);
  void forgetOption();
  void addDefine(ProjectNode* configuration, const std::string& state);
  void noteExtraOptions(const std::string& option, std::vector<std::string>& states);
  void startSettingsBlock();
  void endSettingsBlock();
  void startConfiguration();
  void finishConfiguration(ProjectNode* configuration);
  void addCmsisFolders(ProjectNode* configuration);
  // What reading compiler arguments gave besides defines and include paths.
  struct CompilerArgumentsRead {
    std::vector<std::string> preIncludes;
    std::unordered_set<std::string> unreadable;  // option files reported once
  };
  void applyCompilerArguments(const std::vector<ProjectNode*>& configurations,
                              const std::vector<std::string>& arguments, int fileLevel,
                              const VariableScope& scope, bool fromProject,
                              CompilerArgumentsRead* read);
  void readOptionFile(const std::vector<ProjectNode*>& configurations, const std::string& path,
                      int level, const VariableScope& scope, bool fromProject,
                      CompilerArgumentsRead* read);
  void printPreIncludes(const std::vector<std::string>& files);
  void applyOption(ProjectNode* configuration, const std::string& option,
                   std::vector<std::string>& states);
  // A source file's path as it is used and written.
  std::string filePath(const std::string& file);
  // A path read from an IAR file as it is used and written: its variables expanded in scope (and
  // those left reported), its separators made native, and then found on disk.
  // fromProject: a path that is relative once expanded gets the project's folder put before it,
  // unless it still begins with a variable.
  std::string readPath(const std::string& value, const VariableScope& scope,
                       bool fromProject = false);
  // value with the variables scope knows expanded; every variable left in it is reported, once
  // per variable and file, as a variable of reportFile (the file being read).
  std::string expandReported(const std::string& value, const VariableScope& scope,
                             const std::string& reportFile);
  // What every value of the run may use: $EW_DIR$, $WS_DIR$, environment and custom variables.
  VariableScope runScope() const;
  // $TOOLKIT_DIR$ for a toolchain: unknown without an IAR folder or a toolchain name.
  std::optional<std::string> toolkitDir(const std::string& toolchain) const;
  // Reads the variable files before the source: the -varfile files (false, after the error line,
  // when one cannot be read), then the one beside the source, which is skipped when broken.
  bool readVariableFiles();
  bool defineVariablesFrom(const std::string& file);
  std::string makeNative(std::string path) const;
  // On POSIX, the path as Windows would find it on this disk (PathFinder); Windows finds IAR's
  // paths itself.
  std::string foundOnDisk(std::string path);
  void attachGroup(ProjectNode* group, ProjectNode* parent);
  // Both return true, so they can follow a successful readFile in a condition. excluded names
  // the configurations that do not compile the file; addGroupFile may take its contents.
  bool addGroupFile(ProjectNode* group, const std::string& file,
                    std::vector<std::string>& excluded);
  bool addTopLevelFile(ProjectNode* project, const std::string& file,
                       const std::vector<std::string>& excluded);
  // Lists path, found and kept, at the project's top level: in every configuration read so far
  // with its exclusions, in the project itself before the first.
  void listTopLevelFile(ProjectNode* project, const std::string& path,
                        const std::vector<std::string>& excluded);

  // Elements that may come in any order: tries each reader on the pending token until one reads
  // its element (true). False when none did, or when one broke off inside its element: the
  // others are not tried on the token it stopped at, which stays pending to be reported.
  template <typename... Readers>
  bool readOneOf(Readers... readers) {
    return readOneOfIn(reader, readers...);
  }
  template <typename... Readers>
  static bool readOneOfIn(XMLReader& in, Readers... readers) {
    const size_t start = in.tokensConsumed();
    return ((in.tokensConsumed() == start && readers()) || ...);
  }

  // --- project connection files ---
  // Reads the connection file at path, a source file just listed, when its name ends in
  // ".ipcf" (in any letter case) and it is not itself named by one.
  void readConnectionIfAny(const std::string& path);
  bool readConnection();
  bool readConnectionPath(std::string* path);
  bool readConnectionIncludePaths();
  bool readConnectionDefines();
  bool readConnectionExtraOptions();
  void applyConnectionArguments();
  bool readConnectionFiles();
  bool readConnectionGroup(ProjectNode* enclosing, int depth);
  bool addConnectionFile(ProjectNode* group, const std::string& path);
  // The first group named name directly inside enclosing (the project's top level when null),
  // made after the groups there so far when there is none.
  ProjectNode* groupNamed(ProjectNode* enclosing, const std::string& name);
  void noteGroup(ProjectNode* enclosing, ProjectNode* group);
  struct Connection {
    explicit Connection(GrammarNames grammar) : reader(grammar) {}
    XMLReader reader;
    std::vector<std::string> arguments;  // of its extra options
    CompilerArgumentsRead read;
  };

  // Opens and reads one project of the run into its node.
  void readProjectFile(const std::string& entry);
  // Runs read on a file fileReader has open at path; a stop at an unexpected token or at the end
  // of the input is reported with its place and counted. True when read returned true.
  bool readToItsEnd(XMLReader& fileReader, const std::string& path,
                    const std::function<bool()>& read);

  void readUserAnalyserPersonality();
  bool keepOrMakeEmptyDefault(const std::string& path) const;

  std::vector<std::unique_ptr<ProjectNode>> nodes_;
  PathFinder pathFinder_;    // what the readers learnt of the disk, for the whole run
  std::string openingPath_;  // the file being opened, for "Could not open file: "
  bool isWorkspace_ = false;
  ProjectNode* readingProject_ = nullptr;  // the project node being read
  Connection* connection_ = nullptr;       // the connection file being read, if any
  // The project's groups by the group that holds them (null: the top level) and name; the first
  // of a name only.
  std::map<std::pair<const ProjectNode*, std::string>, ProjectNode*> groupsByPlace_;
  std::string readingPath_;                            // the project file being read, as opened
  VariableScope projectScope_;                         // for the values of the project being read
  VariableScope configurationScope_;                   // for those of the configuration being read
  std::unordered_set<std::string> reportedVariables_;  // file, NUL, name
  int filesTried_ = 0;                                 // project files the run tried to read
  int filesNotRead_ = 0;                               // of those, the ones not read to their end

  // What a configuration's settings hand to the compiler besides its options, applied once the
  // configuration has been read.
  struct ExtraOptions {
    bool on = false;
    std::vector<std::string> states;
  };
  ExtraOptions blockExtraOptions_[kExtraOptionKinds];  // of the settings block being read, by kind
  std::vector<std::string> extraArguments_;
  bool useCmsis_ = false;
  bool useCmsisDsp_ = false;

  std::string optionName_;                 // of the option being read, empty between options
  std::vector<std::string> optionStates_;  // its non-empty states, empty between options

  // --- what the writers know of the disk during one writeProjectFile ---
  mutable std::unordered_set<std::string> present_;
  mutable bool messageDefaultSettled_ = false;
  mutable bool compilerDefaultSettled_ = false;
  std::string userAnalyserText_;  // as it was when the writing began
  bool userAnalyserReadable_ = false;
};

}  // namespace tessmark

#endif  // TESSMARK_SESSION_H_
