#include <iostream>
#include <string>
#include <vector>

#include "cli/Session.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return delvorin::cli::RunSession(arguments, std::cout, std::cerr);
}
