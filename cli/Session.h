#pragma once
// The delvorin command line: steps run in order on one new headless control.
#include <iosfwd>
#include <string>
#include <vector>

namespace delvorin::cli {

// Runs the arguments (without the program name). Output goes to out, usage errors to err.
// Returns the exit status: 0, 1 when a step failed, 2 when a step cannot be parsed.
int RunSession(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace delvorin::cli
