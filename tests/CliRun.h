#pragma once
// One run of the delvorin tool in-process: its arguments, what it must print and its status.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/Session.h"
#include "tests/Helpers.h"

namespace delvorin {

struct CliRun {
  std::vector<std::string> arguments;
  std::string output;
  int status;
};

// A row's name: its index and the arguments of the run.
inline std::string ArgumentsName(size_t index, const std::vector<std::string>& arguments) {
  std::string words;
  for (const std::string& a : arguments) words += a + " ";
  return CaseName(index, words);
}

inline std::string RunName(const ::testing::TestParamInfo<CliRun>& i) { return ArgumentsName(i.index, i.param.arguments); }

// For tables of argument lists alone.
inline std::string ArgumentsRowName(const ::testing::TestParamInfo<std::vector<std::string>>& i) {
  return ArgumentsName(i.index, i.param);
}

inline void CheckRun(const CliRun& e) {
  std::ostringstream out, err;
  EXPECT_EQ(cli::RunSession(e.arguments, out, err), e.status);
  EXPECT_EQ(out.str(), e.output);
  EXPECT_TRUE(err.str().empty()) << err.str();
}

}  // namespace delvorin
