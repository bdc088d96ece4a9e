#include "control/Accessibility.h"

#include "core/Properties.h"

namespace delvorin {

std::u16string DescriptionOfField(uint8_t tipo, std::u16string_view invalid) {
  std::u16string d(tipo < kTipoKinds.size() ? kTipoKinds[tipo] : std::u16string_view(u"Texto"));
  if (!invalid.empty()) d.append(u", ").append(invalid);
  return d;
}

std::u16string NameOfLabel(std::u16string_view caption) {
  std::u16string name;
  name.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    // The marker goes and the character after it stays, so "&&" is one "&".
    if (caption[i] == u'&' && ++i == caption.size()) break;
    name.push_back(caption[i]);
  }
  const size_t first = name.find_first_not_of(u" \t\r\n");
  if (first == std::u16string::npos) return {};
  return name.substr(first, name.find_last_not_of(u" \t\r\n") - first + 1);
}

}  // namespace delvorin
