#include "headless/PropertyAccess.h"

namespace delvorin::headless {

Resultado HeadlessPropertyAccess::Le(std::u16string_view nome, Variant& valor) {
  if (!TemSelecionado()) return SemSelecionado();
  const DescricaoPropriedade* d = ProcuraPropriedade(nome);
  if (!d) return Status(Status::kUnknownName);
  return selecionados_.front()->Get(d->id, valor);
}

Resultado HeadlessPropertyAccess::Escreve(std::u16string_view nome, const Variant& valor) {
  if (!TemSelecionado()) return SemSelecionado();
  const DescricaoPropriedade* d = ProcuraPropriedade(nome);
  if (!d) return Status(Status::kUnknownName);
  return selecionados_.front()->Put(d->id, valor);
}

}  // namespace delvorin::headless
