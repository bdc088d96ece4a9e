#include "pages/Resultado.h"

namespace delvorin {

std::u16string DescricaoDe(Status s) {
  std::string_view d = s.Descricao();
  return std::u16string(d.begin(), d.end());  // the descriptions are ASCII
}

Resultado::Resultado(Status s) : status(s) {
  if (!s.ok()) descricao = DescricaoDe(s);
}

}  // namespace delvorin
