#ifndef TESSMARK_COMMAND_LINE_H_
#define TESSMARK_COMMAND_LINE_H_

#include <string>
#include <vector>

#include "paths.h"

namespace tessmark {

class ConverterSession;

// Writes the two usage lines.
void printUsage();

// Applies the options found anywhere in args (positional arguments included) to the session, in
// argument order; each option takes the next argument as its value, which is itself examined
// next. Throws std::invalid_argument when an option is the last argument.
void applyOptions(const std::vector<std::string>& args, ConverterSession& session,
                  CurrentDirectory& cwd);

// The whole program: args are the arguments after the program name. Returns the exit status:
// 0 for usage, help, version or a conversion that read and wrote everything, 2 when the Korval
// project was written but a project file was not read to its end, 1 after any failure (a
// refused command line included).
int runConverter(const std::vector<std::string>& args, CurrentDirectory& cwd,
                 PathStyle style = nativePathStyle());

// The process's real current directory.
class ProcessDirectory : public CurrentDirectory {
 public:
  std::string read() override;
  void change(const std::string& path) override;
};

}  // namespace tessmark

#endif  // TESSMARK_COMMAND_LINE_H_
