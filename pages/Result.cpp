#include "pages/Result.h"

namespace delvorin {

std::u16string DescricaoDe(Status s) {
  std::string_view d = s.Description();
  return std::u16string(d.begin(), d.end());  // the descriptions are ASCII
}

Result::Result(Status s) : status(s) {
  if (!s.ok()) descricao = DescricaoDe(s);
}

}  // namespace delvorin
