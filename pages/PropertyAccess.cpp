#include "pages/PropertyAccess.h"

namespace delvorin {

Result NothingSelected() { return {Status(Status::kInvalidProcedureCall), u"No object is selected"}; }

}  // namespace delvorin
