#include <string>
#include <vector>

#include "command_line.h"

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    tessmark::ProcessDirectory cwd;
    return tessmark::runConverter(args, cwd);
  } catch (...) {
    return 1;
  }
}
