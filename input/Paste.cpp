// The paste rule: the clipboard's text enters the field as if the user had typed it.
#include "control/Delvorin.h"

namespace delvorin {

void Delvorin::TXO_Paste(std::u16string_view) {}

}  // namespace delvorin
