// Writes synthetic IAR project files (.ewp) shaped like the ones IAR Embedded Workbench saves:
// 2 to 4 configurations, each with a toolchain element and settings blocks of 50 to 250 options
// for the usual tools (the compiler block with CCDefines, CCIncludePath2 and PreInclude), then
// groups nested up to four levels with "$PROJ_DIR$" file paths and some file-level
// configuration blocks, then a few top-level files. With exclusions, some groups and files are
// excluded from configurations, as real projects exclude demos and alternative sources.
#ifndef TESSMARK_BENCH_PROJECT_GENERATOR_H_
#define TESSMARK_BENCH_PROJECT_GENERATOR_H_

#include <string>
#include <vector>

#include "random.h"
#include "xml_text.h"

namespace tessmark_bench {

// The shape of one benchmark workspace.
struct Shape {
  int projects;
  int filesPerProject;  // groups are added until about this many files are listed
  int fixedGroups;      // when above 0: exactly this many top-level groups, no nesting
  int minGroupFiles;
  int maxGroupFiles;
  int maxDepth;        // nesting levels of groups
  bool sourcesOnDisk;  // the source files exist on disk, spelled in upper case
  int configurations;  // per project; 0: 2 to 4
  bool exclusions;     // excluded blocks on a share of the groups and files
};

// One settings block of a configuration (defined with the generator).
struct Tool;

struct ProjectCounts {
  int files = 0;
  int groups = 0;
  int configurations = 0;
  int options = 0;
  long listed = 0;  // file lines in the Korval project file: each file once per configuration
                    // that compiles it
};

class ProjectGenerator {
 public:
  // rng is shared by all projects of a workspace, so the whole workspace follows from one seed.
  ProjectGenerator(Random& rng, const Shape& shape);

  // The whole text of one project file.
  std::string generate();
  const ProjectCounts& counts() const { return counts_; }
  // With sourcesOnDisk, the last project's source files as written after "$PROJ_DIR$\".
  const std::vector<std::string>& sources() const { return sources_; }

 private:
  void configuration(const std::string& name);
  void settings(const Tool& tool);
  void dataHeader(const Tool& tool);
  void plainOptions(const Tool& tool, int count);
  void compilerOptions();
  void option(const std::string& name, const std::vector<std::string>& states);
  std::string stateValue();
  std::vector<std::string> defines();
  std::vector<std::string> includePaths();
  void groups();
  // excludedAbove, here and below: the configurations (a bit each, in order) that the groups
  // around exclude.
  void group(int depth, const std::string& parentFolder, unsigned excludedAbove);
  void source(const std::string& path, unsigned excludedAbove);  // a file of the project's folder
  void file(const std::string& path, unsigned excludedAbove);
  unsigned groupExclusion();
  unsigned fileExclusion();
  unsigned oneConfiguration();  // drawn at random
  void excluded(unsigned configurations);
  void fileConfiguration();
  std::string fileName();

  Random& rng_;
  const Shape& shape_;
  XmlText xml_;
  std::vector<std::string> configurations_;
  int filesLeft_ = 0;
  ProjectCounts counts_;
  std::vector<std::string> sources_;
};

}  // namespace tessmark_bench

#endif  // TESSMARK_BENCH_PROJECT_GENERATOR_H_
