// tessmark-bench-gen: writes one benchmark workspace, the same for the same size and seed.
//   tessmark-bench-gen <S|M|L|heavy|case|excl> <out-folder> [seed]
// The folder receives bench.eww and one sub-folder per project holding its .ewp file (for case,
// also its source files, empty and spelled in upper case). One line on standard output sums up
// what was written; "listed" is the number of file lines the Korval project file must hold (each
// file once per configuration of its project that compiles it).
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "project_generator.h"

namespace fs = std::filesystem;
using tessmark_bench::ProjectCounts;
using tessmark_bench::ProjectGenerator;
using tessmark_bench::Random;
using tessmark_bench::Shape;

namespace {

// S, M and L grow the number of projects and files; heavy has many projects with two small
// groups each, so the settings blocks make up nearly all of the input; case has 10 000 files that
// exist on disk in other letter case, so that every one of them is found by its folder's listing;
// excl has projects of two configurations with groups and files excluded from one or both.
bool shapeOf(const std::string& size, Shape* shape) {
  if (size == "S")
    *shape = {1, 200, 0, 4, 24, 4, false, 0, false};
  else if (size == "M")
    *shape = {10, 500, 0, 4, 24, 4, false, 0, false};
  else if (size == "L")
    *shape = {50, 2000, 0, 4, 24, 4, false, 0, false};
  else if (size == "heavy")
    *shape = {200, 6, 2, 3, 3, 1, false, 0, false};
  else if (size == "case")
    *shape = {10, 1000, 0, 4, 24, 4, true, 0, false};
  else if (size == "excl")
    *shape = {10, 2000, 0, 4, 24, 4, false, 2, true};
  else
    return false;
  return true;
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}

std::string projectName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "project_%03d", index + 1);
  return name;
}

// Each source file of a project, empty, under its path in upper case.
void writeSources(const fs::path& projectFolder, const std::vector<std::string>& sources) {
  for (std::string path : sources) {
    for (char& c : path)
      c = c == '\\' ? '/' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    fs::create_directories((projectFolder / path).parent_path());
    writeFile(projectFolder / path, "");
  }
}

std::string workspaceText(int projects) {
  std::string text = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n\r\n<workspace>\r\n";
  for (int i = 0; i < projects; ++i) {
    const std::string name = projectName(i);
    text += "  <project>\r\n    <path>$WS_DIR$\\" + name + "\\" + name +
            ".ewp</path>\r\n  </project>\r\n";
  }
  return text + "  <batchBuild/>\r\n</workspace>\r\n";
}

int generate(const Shape& shape, const fs::path& out, uint64_t seed) {
  fs::create_directories(out);
  Random rng(seed);
  ProjectGenerator generator(rng, shape);
  ProjectCounts total;
  uintmax_t bytes = 0;
  uintmax_t listed = 0;
  for (int i = 0; i < shape.projects; ++i) {
    const std::string name = projectName(i);
    const std::string text = generator.generate();
    fs::create_directories(out / name);
    writeFile(out / name / (name + ".ewp"), text);
    writeSources(out / name, generator.sources());
    bytes += text.size();
    total.files += generator.counts().files;
    total.groups += generator.counts().groups;
    total.configurations += generator.counts().configurations;
    total.options += generator.counts().options;
    listed += static_cast<uintmax_t>(generator.counts().listed);
  }
  writeFile(out / "bench.eww", workspaceText(shape.projects));
  std::cout << "projects=" << shape.projects << " configurations=" << total.configurations
            << " groups=" << total.groups << " files=" << total.files
            << " options=" << total.options << " bytes=" << bytes << " listed=" << listed << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Shape shape;
  if (argc < 3 || argc > 4 || !shapeOf(argv[1], &shape)) {
    std::cerr << "usage: tessmark-bench-gen <S|M|L|heavy|case|excl> <out-folder> [seed]\n";
    return 2;
  }
  const uint64_t seed = argc == 4 ? std::strtoull(argv[3], nullptr, 10) : 1;
  try {
    return generate(shape, argv[2], seed);
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}
