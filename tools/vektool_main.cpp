#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "VekTool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // The tool is never destroyed: its tables, perhaps of millions of values,
  // go with the process instead of being freed one by one.
  auto* tool = new VekTool(std::cout, std::cerr);
  const int status = tool->Run(args);
  std::cout.flush();
  std::cerr.flush();
  std::_Exit(status);
}
