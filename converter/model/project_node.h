#ifndef TESSMARK_MODEL_PROJECT_NODE_H_
#define TESSMARK_MODEL_PROJECT_NODE_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tessmark {

class ConverterSession;
class OutputFile;

// One node of the project tree: the root, a sub-project of a workspace, a configuration or a
// group. Its role follows from where it hangs. The session owns every node; `children` only
// points, because one group node is listed under every configuration of its project.
//
// Since a group is shared by all configurations, what one of them does not compile is kept as
// data: the names of the configurations a group or a file is excluded from, as read (line breaks
// treated as in configuration names). The writer leaves them out under those configurations.
class ProjectNode {
 public:
  // The configurations that do not compile files[file].
  struct FileExclusion {
    size_t file;
    std::vector<std::string> configurations;
  };
  // Made only for the few nodes that have any, so that the others stay small.
  struct Exclusions {
    std::vector<std::string> group;    // what the group's own excluded element names
    std::vector<FileExclusion> files;  // by ascending file
  };

  ProjectNode(std::string name, ConverterSession* session)
      : session(session), name(std::move(name)) {}

  // Folder of the project file with its final separator; on project and configuration nodes.
  std::string path;
  ConverterSession* session;  // never null, not owned
  std::string name;
  std::vector<std::string> files;              // in reading order, duplicates kept
  std::vector<std::string> includePaths;       // configuration nodes only
  std::map<std::string, std::string> defines;  // configuration nodes only; byte order
  std::vector<ProjectNode*> children;          // in attaching order, not owned
  bool isConfiguration = false;  // its own files and its groups' are listed for it alone

  std::unique_ptr<Exclusions> exclusions;  // null: none
  // A group is excluded as well from what the groups around it are excluded from.
  const ProjectNode* enclosingGroup = nullptr;  // null for a group of the project itself

  void addFile(std::string file) { files.push_back(std::move(file)); }
  void addIncludePath(std::string folder) { includePaths.push_back(std::move(folder)); }
  void addChild(ProjectNode* child) { children.push_back(child); }
  // Marks the group as not compiled in the named configurations (none: nothing changes).
  void excludeGroup(std::vector<std::string> configurations) {
    if (!configurations.empty())
      madeExclusions().group = std::move(configurations);
  }
  // Marks the file added next as not compiled in the named configurations.
  void excludeNextFile(std::vector<std::string> configurations) {
    madeExclusions().files.push_back({files.size(), std::move(configurations)});
  }
  // A later value for the same symbol replaces the earlier one.
  void define(std::string symbol, std::string value) {
    defines.insert_or_assign(std::move(symbol), std::move(value));
  }
  bool hasOptions() const { return !includePaths.empty() || !defines.empty(); }

  // Creates the node's folders and, when it has files or children, writes its folder entry
  // (and those of its children) to out. Under a configuration (not null) only the files that
  // configuration compiles count. Raises IOERROR. Defined with the project file writer.
  void writeFolderEntry(OutputFile& out, const std::string& relativeFolder,
                        std::string handedDownAnalyser, const std::string* configuration) const;

  // Writes the node's include and define lines, then the user's analyser personality, to path.
  // Raises IOERROR. Defined with the personality files.
  void writeAnalyserPersonality(const std::string& path) const;

 private:
  Exclusions& madeExclusions() {
    if (exclusions == nullptr)
      exclusions = std::make_unique<Exclusions>();
    return *exclusions;
  }
};

}  // namespace tessmark

#endif  // TESSMARK_MODEL_PROJECT_NODE_H_
