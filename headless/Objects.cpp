#include "headless/Objects.h"

#include "format/Moeda.h"

namespace delvorin::headless {

std::u16string Font::Describe() const { return name_ + u" " + GeneralForm(size_); }

}  // namespace delvorin::headless
