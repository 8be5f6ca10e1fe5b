#include "console.h"

#include <iostream>

namespace tessmark {

void printLine(const std::string& text) {
  std::cout << text << std::endl;
}

}  // namespace tessmark
