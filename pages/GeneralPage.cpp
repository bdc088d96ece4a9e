#include "pages/GeneralPage.h"

#include <cmath>
#include <string>

#include "format/Moeda.h"
#include "pages/GeneralVisibility.h"
#include "format/Conversions.h"

namespace delvorin {
namespace {

std::u16string Decimal(int n) {
  std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

bool OutsideTable(GeneralChild f) { return IndexOf(f) < 0 || IndexOf(f) >= kGeneralChildCount; }

// The object has no property of that name, and the page can do without it.
bool Missing(const GeneralBinding& v, const Result& r) {
  return NewerThan10(v.property) && r.status.hresult() == Status::kUnknownName;
}

const GeneralList* ListOf(GeneralChild f) {
  for (const GeneralList& l : kGeneralLists)
    if (l.list == f) return &l;
  return nullptr;
}

// A number as a list index takes it: rounded half to even.
double RoundHalfEven(double x) {
  double base = std::floor(x);
  double remainder = x - base;
  if (remainder > 0.5 || (remainder == 0.5 && std::fmod(base, 2.0) != 0.0)) base += 1.0;
  return base;
}

}  // namespace

Result GeneralPage::Create() {
  for (int i = 0; i < kGeneralChildCount; ++i) {
    for (std::u16string_view item : kGeneralChildren[static_cast<size_t>(i)].items) {
      Status s = surface_.AddItem(i, item);
      if (!s.ok()) return s;
    }
  }
  return surface_.SetTooltip(IndexOf(GeneralChild::chkAspas), kAspasTooltip);
}

Result GeneralPage::Load() {
  if (!selected_.HasSelection()) return NothingSelected();
  for (const GeneralBinding& v : kGeneralBindings) {
    Result r = LoadBinding(v);
    if (!r.ok()) return r;
  }
  for (const GeneralList& l : kGeneralLists) {
    Result r = Choose(l.list, surface_.Text(IndexOf(l.companion)));
    if (!r.ok()) return r;
  }
  Result r = LoadUf();
  if (!r.ok()) return r;
  for (const GeneralBinding& v : kGeneralLateBindings) {
    r = LoadBinding(v);
    if (!r.ok()) return r;
  }
  return {};
}

Result GeneralPage::LoadBinding(const GeneralBinding& v) {
  Variant value;
  Result r = selected_.Read(DescriptionOf(v.property).name, value);
  const bool textBox = DescriptionOf(v.child).type == ChildKind::TextBox;
  if (NewerThan10(v.property) && textBox) {
    // A text box of a newer property takes no input where the object lacks it.
    Status s = surface_.SetEnabled(IndexOf(v.child), !Missing(v, r));
    if (!s.ok()) return s;
  }
  if (Missing(v, r)) {
    // Grayed, or an empty text: nothing to show.
    return textBox ? PutText(v.child, u"") : PutValue(v.child, 2);
  }
  if (!r.ok()) return r;
  Variant converted;
  if (DescriptionOf(v.child).type == ChildKind::CheckBox) {
    // Ticked when bit 0 is set: a True is -1.
    Status s = ChangeType(value, VarType::I4, converted);
    if (!s.ok()) return s;
    return PutValue(v.child, (converted.i4() & 1) != 0 ? 1 : 0);
  }
  Status s = ChangeType(value, VarType::Str, converted);
  if (!s.ok()) return s;
  return PutText(v.child, converted.str());
}

Result GeneralPage::LoadUf() {
  const int list = IndexOf(GeneralChild::CBuf);
  Variant value;
  Result r = selected_.Read(DescriptionOf(Property::UF).name, value);
  const bool missing = NewerThan10(Property::UF) && r.status.hresult() == Status::kUnknownName;
  Status s = surface_.SetEnabled(list, !missing);
  if (!s.ok()) return s;
  if (missing) return surface_.SetSelectedIndex(list, -1);
  if (!r.ok()) return r;
  Variant text;
  s = ChangeType(value, VarType::Str, text);
  if (!s.ok()) return s;
  // The empty entry stands for no state; a state is found in any case, as the property takes it.
  std::u16string uf;
  if (!ReadUf(text.str(), uf)) return Status::InvalidPropertyValue();
  int index = 0;
  for (size_t i = 0; i < kUfItems.size(); ++i)
    if (kUfItems[i] == uf) index = static_cast<int>(i);
  if (surface_.SelectedIndex(list) == index) return {};
  s = surface_.SetSelectedIndex(list, index);
  if (!s.ok()) return s;
  surface_.SetChanged(true);  // as every control the load alters
  return {};
}

Result GeneralPage::Apply() {
  Result r = WriteAll();
  if (!r.ok()) {
    if (r.description.empty()) r.description = StatusDescription(r.status);
    surface_.MsgBox(r.description, kOkOnlyStyle, u"");
    return r;
  }
  surface_.SetChanged(false);
  return r;
}

Result GeneralPage::WriteAll() {
  if (!selected_.HasSelection()) return NothingSelected();
  for (const GeneralBinding& v : kGeneralBindings) {
    Result r = WriteBinding(v);
    if (!r.ok()) return r;
  }
  // The state after the others: an object that lacks it has its list grayed, and nothing to write.
  const int list = IndexOf(GeneralChild::CBuf);
  if (surface_.Enabled(list)) {
    const int index = surface_.SelectedIndex(list);
    const std::u16string_view uf =
        index > 0 && index < static_cast<int>(kUfItems.size()) ? kUfItems[static_cast<size_t>(index)] : u"";
    Result r = selected_.Write(DescriptionOf(Property::UF).name, Variant::Str(std::u16string(uf)));
    if (!r.ok() && !(NewerThan10(Property::UF) && r.status.hresult() == Status::kUnknownName)) return r;
  }
  for (const GeneralBinding& v : kGeneralLateBindings) {
    Result r = WriteBinding(v);
    if (!r.ok()) return r;
  }
  return {};
}

Result GeneralPage::WriteBinding(const GeneralBinding& v) {
  const int i = IndexOf(v.child);
  // Texts go as texts: the property write converts them to the property's type. A grayed
  // check box counts as clear.
  Variant value = DescriptionOf(v.child).type == ChildKind::CheckBox ? Variant::Boolean(surface_.Value(i) == 1)
                                                                     : Variant::Str(surface_.Text(i));
  Result r = selected_.Write(DescriptionOf(v.property).name, value);
  if (!r.ok() && !Missing(v, r)) return r;
  return {};
}

Result GeneralPage::Click(GeneralChild child) {
  if (OutsideTable(child)) return Status(Status::kInvalidArgument);
  switch (DescriptionOf(child).type) {
    case ChildKind::List: return ListClick(child);
    case ChildKind::CheckBox: surface_.SetChanged(true); return {};
    default: return {};
  }
}

void GeneralPage::Change(GeneralChild child) {
  if (!OutsideTable(child) && DescriptionOf(child).type == ChildKind::TextBox) surface_.SetChanged(true);
}

Result GeneralPage::LostFocus(GeneralChild child) {
  if (child != GeneralChild::txtMaxLength) return {};
  // The only check while editing: a length limit cannot be negative.
  if (LeadingNumberSign(surface_.Text(IndexOf(child))) < 0) return PutText(child, u"0");
  return {};
}

Result GeneralPage::ListClick(GeneralChild list) {
  const GeneralList* l = ListOf(list);
  if (!l) {
    // A list without a companion holds its value itself: the choice is an edit to apply.
    surface_.SetChanged(true);
    return {};
  }
  const int index = surface_.SelectedIndex(IndexOf(list));
  Result r = PutText(l->companion, Decimal(index));
  if (!r.ok() || list != GeneralChild::Combo1) return r;
  return ApplyVisibility(index);
}

Result GeneralPage::PutText(GeneralChild child, std::u16string_view text) {
  const int i = IndexOf(child);
  if (surface_.Text(i) == text) return {};
  Status s = surface_.SetText(i, text);
  if (!s.ok()) return s;
  Change(child);
  return {};
}

Result GeneralPage::PutValue(GeneralChild child, int16_t value) {
  const int i = IndexOf(child);
  if (surface_.Value(i) == value) return {};
  Status s = surface_.SetValue(i, value);
  if (!s.ok()) return s;
  return Click(child);
}

Result GeneralPage::Choose(GeneralChild list, std::u16string_view code) {
  // The leading number of the text, 0 when there is none.
  double number = 0;
  Status s = LeadingNumber(code, number);
  if (!s.ok()) return s;
  const double index = RoundHalfEven(number);
  const int i = IndexOf(list);
  if (!(index >= -1 && index < surface_.ItemCount(i))) return Status::InvalidPropertyValue();
  s = surface_.SetSelectedIndex(i, static_cast<int>(index));
  if (!s.ok()) return s;
  return ListClick(list);  // setting the index raises the list's Click
}

Result GeneralPage::ApplyVisibility(int type) {
  for (const VisibilityRule& r : kVisibilityRules) {
    Status s = surface_.SetVisible(IndexOf(r.child), r.visible(type));
    if (!s.ok()) return s;
  }
  return {};
}

}  // namespace delvorin
