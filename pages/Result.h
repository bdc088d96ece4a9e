#pragma once
// Outcome of a page operation or of a property access by name: the error, and on failure the
// description to show the developer (the object's own when it gave one).
#include <string>
#include <string_view>

#include "core/Status.h"

namespace delvorin {

struct Result {
  Status status;
  std::u16string description;

  Result() = default;
  // A status with the automation layer's description of it; statuses pass as results.
  Result(Status s);
  Result(Status s, std::u16string d) : status(s), description(std::move(d)) {}

  bool ok() const { return status.ok(); }
};

// The automation layer's English description of a status, as UTF-16.
std::u16string StatusDescription(Status s);

}  // namespace delvorin
