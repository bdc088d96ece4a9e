#pragma once
// One run of the delvorin tool in-process: its arguments, what it must print and its status.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/Sessao.h"

namespace delvorin {

struct Execucao {
  std::vector<std::string> argumentos;
  std::string saida;
  int status;
};

inline void ConfereExecucao(const Execucao& e) {
  std::ostringstream out, err;
  EXPECT_EQ(cli::ExecutaSessao(e.argumentos, out, err), e.status);
  EXPECT_EQ(out.str(), e.saida);
  EXPECT_TRUE(err.str().empty()) << err.str();
}

}  // namespace delvorin
