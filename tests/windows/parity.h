// Linux and Windows builds agree: the same status, the same console text (CR LF on Windows, LF on
// Linux), the same folders and files with the same bytes, apart from separators and drive letters.
#ifndef TESSMARK_TESTS_WINDOWS_PARITY_H_
#define TESSMARK_TESTS_WINDOWS_PARITY_H_

#include "windows_case.h"

namespace tessmark_test {

// drives: the Linux folder that stands for each drive letter the Windows run used.
void expectParity(const Outcome& windows, const Outcome& linux, const DriveFolders& drives);

}  // namespace tessmark_test

#endif  // TESSMARK_TESTS_WINDOWS_PARITY_H_
