#include <iostream>
#include <string>
#include <vector>

#include "VekTool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  VekTool tool(std::cout, std::cerr);
  return tool.Run(args);
}
