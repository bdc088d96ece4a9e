#include "pages/AcessoPropriedades.h"

namespace delvorin {

Resultado SemSelecionado() { return {Status(Status::kInvalidProcedureCall), u"No object is selected"}; }

}  // namespace delvorin
