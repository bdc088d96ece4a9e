#pragma once
// Which options of the Geral page are shown for the type chosen in its type list: only those
// that matter for that type. Every control not listed here stays visible, labels included.
#include "core/Settings.h"
#include "format/DocumentTypes.h"
#include "pages/GeneralPageModel.h"

namespace delvorin {

// The types whose text is checked, with a message, when the field is left: MSGcpf and
// TravaCpf matter to them only.
inline bool IsCheckedOnLeaving(int t) {
  if (t == tipo::Mascara) return true;
  const DocumentType* type = t >= 0 && t <= 255 ? DocumentTypeOf(static_cast<uint8_t>(t)) : nullptr;
  return type && !type->shortMessage.empty();
}

struct VisibilityRule {
  GeneralChild child;
  bool (*visible)(int type);  // type: the selected index of Combo1, -1 when none is chosen
};

inline constexpr VisibilityRule kVisibilityRules[] = {
    {GeneralChild::chkAspas, [](int t) { return t == 4 || t == 5 || t == 6 || t == 7 || t == 12; }},
    {GeneralChild::chkTC_Trim, [](int t) { return t == 4 || t == 5 || t == 6 || t == 7 || t == 12; }},
    {GeneralChild::txtMaxLength, [](int t) { return t < 8 || t == 12; }},
    {GeneralChild::txtPasswordChar, [](int t) { return t >= 1 && t <= 4; }},
    {GeneralChild::chkMSGcpf, [](int t) { return IsCheckedOnLeaving(t); }},
    {GeneralChild::chkTravaCpf, [](int t) { return IsCheckedOnLeaving(t); }},
    {GeneralChild::txtDigitos, [](int t) { return t == 0 || t == 1; }},
    {GeneralChild::chkNegativo, [](int t) { return t >= 0 && t <= 3; }},
    {GeneralChild::chkUsarp, [](int t) { return t == 0; }},
    {GeneralChild::chkCnpjAlfanumerico, [](int t) { return t == 10 || t == 15; }},
    {GeneralChild::lblUF, [](int t) { return t == 25; }},
    {GeneralChild::CBuf, [](int t) { return t == 25; }},
    {GeneralChild::lblMascara, [](int t) { return t == tipo::Mascara; }},
    {GeneralChild::txtMascara, [](int t) { return t == tipo::Mascara; }},
};

}  // namespace delvorin
