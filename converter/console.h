#ifndef TESSMARK_CONSOLE_H_
#define TESSMARK_CONSOLE_H_

#include <string>

namespace tessmark {

// Writes one line to standard output with the platform's line end and flushes it, so a
// program reading the converter's output (the wizard) sees each line as it is made.
void printLine(const std::string& text);

}  // namespace tessmark

#endif  // TESSMARK_CONSOLE_H_
