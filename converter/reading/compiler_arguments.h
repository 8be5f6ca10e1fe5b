// The compiler's extra options as IAR's compiler reads them: a text split into arguments, and
// the arguments that carry defines, include folders, option files and pre-included files.
#ifndef TESSMARK_READING_COMPILER_ARGUMENTS_H_
#define TESSMARK_READING_COMPILER_ARGUMENTS_H_

#include <string>
#include <vector>

namespace tessmark {

// Option files (-f) may name option files, this many levels deep at most (the one the options
// name is level 1); deeper ones are skipped.
constexpr int kMaxOptionFileDepth = 8;

enum class ArgumentText {
  kOptions,     // an extra-options state: white space outside double quotes separates
  kOptionFile,  // an option file: line breaks, /* */ and // comments are white space too
};

// Splits text into arguments at white space outside double quotes; the quotes are removed
// ("-DNAME=\"a b\"" is the argument -DNAME=a b). In an option file, comment marks inside double
// quotes are text.
std::vector<std::string> splitArguments(const std::string& text, ArgumentText kind);

struct CompilerArgument {
  enum Kind { kDefine, kIncludePath, kOptionFile, kPreInclude };
  Kind kind;
  std::string value;       // the symbol of a define, else the path as written
  std::string definition;  // of a define: the text after its first '=', or empty
};

// The arguments that matter, in order: -DNAME[=VALUE] and -D NAME[=VALUE], -IPATH and -I PATH,
// -fFILE and -f FILE, --preinclude FILE. Every other argument is ignored, as is one of these
// without its value.
std::vector<CompilerArgument> readCompilerArguments(const std::vector<std::string>& arguments);

}  // namespace tessmark

#endif  // TESSMARK_READING_COMPILER_ARGUMENTS_H_
