#include "pages/Result.h"

namespace delvorin {

std::u16string StatusDescription(Status s) {
  std::string_view d = s.Description();
  return std::u16string(d.begin(), d.end());  // the descriptions are ASCII
}

Result::Result(Status s) : status(s) {
  if (!s.ok()) description = StatusDescription(s);
}

}  // namespace delvorin
