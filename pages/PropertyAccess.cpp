#include "pages/PropertyAccess.h"

namespace delvorin {

Result SemSelecionado() { return {Status(Status::kInvalidProcedureCall), u"No object is selected"}; }

}  // namespace delvorin
