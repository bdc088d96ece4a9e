#include "headless/GeneralPageDialog.h"

#include <optional>

namespace delvorin::headless {
namespace {

// A whole decimal number: an optional minus sign and at most nine digits.
std::optional<int> WholeNumber(std::u16string_view s) {
  bool negative = !s.empty() && s.front() == u'-';
  if (negative) s.remove_prefix(1);
  if (s.empty() || s.size() > 9) return std::nullopt;
  int n = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + (c - u'0');
  }
  return negative ? -n : n;
}

GeneralChild ChildAt(int i) { return static_cast<GeneralChild>(i); }

}  // namespace

GeneralPageDialog::GeneralPageDialog(PropertyAccess& selected) : surface_(kGeneralPage), page_(surface_, selected) {
  creation_ = page_.Create();
}

Result GeneralPageDialog::Find(std::u16string_view name, int& child) const {
  child = FindChild(kGeneralPage, name);
  if (child < 0) return {Status(Status::kInvalidArgument), u"no control named '" + std::u16string(name) + u"' on the page"};
  if (!surface_.Visible(child)) return {Status(Status::kInvalidProcedureCall), std::u16string(name) + u" is hidden"};
  return {};
}

Result GeneralPageDialog::MoveFocus(int child) {
  if (focus_ == child) return {};
  const int leaving = focus_;
  focus_ = child;
  if (leaving >= 0) return page_.LostFocus(ChildAt(leaving));
  return {};
}

Result GeneralPageDialog::Load() {
  Result r = MoveFocus(-1);
  if (!r.ok()) return r;
  return page_.Load();
}

Result GeneralPageDialog::Apply() {
  Result r = MoveFocus(-1);  // the button takes the focus
  if (!r.ok()) return r;
  return page_.Apply();
}

Result GeneralPageDialog::Set(std::u16string_view name, std::u16string_view value) {
  int i = 0;
  Result r = Find(name, i);
  if (!r.ok()) return r;
  const ChildDescription& d = kGeneralPage.children[static_cast<size_t>(i)];
  switch (d.type) {
    case ChildKind::TextBox: {
      if (r = MoveFocus(i); !r.ok()) return r;
      if (d.maxLength > 0 && value.size() > static_cast<size_t>(d.maxLength))
        value = value.substr(0, static_cast<size_t>(d.maxLength));
      if (surface_.Text(i) == value) return {};
      if (Status s = surface_.SetText(i, value); !s.ok()) return s;
      page_.Change(ChildAt(i));
      return {};
    }
    case ChildKind::CheckBox: {
      std::optional<int> v = WholeNumber(value);
      if (!v || *v < 0 || *v > 2) return Status::InvalidPropertyValue();
      if (r = MoveFocus(i); !r.ok()) return r;
      if (surface_.Value(i) == *v) return {};
      if (Status s = surface_.SetValue(i, static_cast<int16_t>(*v)); !s.ok()) return s;
      return page_.Click(ChildAt(i));
    }
    case ChildKind::List: {
      std::optional<int> index;
      const std::vector<std::u16string> items = surface_.Items(i);
      for (size_t k = 0; k < items.size() && !index; ++k)
        if (items[k] == value) index = static_cast<int>(k);
      if (!index) index = WholeNumber(value);
      // A user can only pick one of the items.
      if (!index || *index < 0 || *index >= static_cast<int>(items.size())) return Status::InvalidPropertyValue();
      if (r = MoveFocus(i); !r.ok()) return r;
      if (Status s = surface_.SetSelectedIndex(i, *index); !s.ok()) return s;
      return page_.Click(ChildAt(i));
    }
    default:
      return {Status(Status::kInvalidProcedureCall), std::u16string(name) + u" cannot be edited"};
  }
}

Result GeneralPageDialog::Click(std::u16string_view name) {
  int i = 0;
  Result r = Find(name, i);
  if (!r.ok()) return r;
  switch (kGeneralPage.children[static_cast<size_t>(i)].type) {
    case ChildKind::CheckBox: {
      if (r = MoveFocus(i); !r.ok()) return r;
      // As a Windows check box: a ticked box clears, a clear or grayed one is ticked.
      if (Status s = surface_.SetValue(i, surface_.Value(i) == 1 ? 0 : 1); !s.ok()) return s;
      return page_.Click(ChildAt(i));
    }
    case ChildKind::List:
      if (r = MoveFocus(i); !r.ok()) return r;
      return page_.Click(ChildAt(i));
    case ChildKind::TextBox: return MoveFocus(i);
    default: return {};
  }
}

}  // namespace delvorin::headless
