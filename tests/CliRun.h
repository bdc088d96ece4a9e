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
  std::vector<std::string> argumentos;
  std::string saida;
  int status;
};

// A row's name: its index and its arguments.
inline std::string RunName(const ::testing::TestParamInfo<CliRun>& i) {
  std::string palavras;
  for (const std::string& a : i.param.argumentos) palavras += a + " ";
  return CaseName(i.index, palavras);
}

inline void ConfereExecucao(const CliRun& e) {
  std::ostringstream out, err;
  EXPECT_EQ(cli::ExecutaSessao(e.argumentos, out, err), e.status);
  EXPECT_EQ(out.str(), e.saida);
  EXPECT_TRUE(err.str().empty()) << err.str();
}

}  // namespace delvorin
