#include "headless/PropertyAccessHeadless.h"

namespace delvorin::headless {

Result PropertyAccessHeadless::Le(std::u16string_view nome, Variant& valor) {
  if (!TemSelecionado()) return SemSelecionado();
  const PropertyDescription* d = ProcuraPropriedade(nome);
  if (!d) return Status(Status::kUnknownName);
  return selecionados_.front()->Get(d->id, valor);
}

Result PropertyAccessHeadless::Escreve(std::u16string_view nome, const Variant& valor) {
  if (!TemSelecionado()) return SemSelecionado();
  const PropertyDescription* d = ProcuraPropriedade(nome);
  if (!d) return Status(Status::kUnknownName);
  return selecionados_.front()->Put(d->id, valor);
}

}  // namespace delvorin::headless
