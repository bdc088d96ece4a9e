#include "headless/PageSurfaceHeadless.h"

#include <string>

namespace delvorin::headless {
namespace {

std::u16string Decimal(int n) {
  std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

std::u16string Quoted(std::u16string_view s) { return u"\"" + std::u16string(s) + u"\""; }

}  // namespace

PageSurfaceHeadless::PageSurfaceHeadless(const PageDescription& page) : page_(page) {
  states_.reserve(page.children.size());
  for (const ChildDescription& d : page.children) {
    State e;
    // Text boxes start empty; the other kinds show their caption.
    if (d.type != ChildKind::TextBox) e.text = d.caption;
    e.tooltip = d.tooltip;
    e.visible = d.visible;
    states_.push_back(std::move(e));
  }
}

Status PageSurfaceHeadless::Check(int child, ChildKind type) const {
  if (!Exists(child)) return Status(Status::kInvalidArgument);
  if (page_.children[static_cast<size_t>(child)].type != type) return Status(Status::kInvalidProcedureCall);
  return Status::Ok();
}

int16_t PageSurfaceHeadless::Value(int child) const {
  return Check(child, ChildKind::CheckBox).ok() ? states_[static_cast<size_t>(child)].value : int16_t{0};
}

Status PageSurfaceHeadless::SetValue(int child, int16_t value) {
  DELVORIN_TRY(Check(child, ChildKind::CheckBox));
  if (value < 0 || value > 2) return Status::InvalidPropertyValue();
  states_[static_cast<size_t>(child)].value = value;
  return Status::Ok();
}

std::u16string PageSurfaceHeadless::Text(int child) const {
  return Exists(child) ? states_[static_cast<size_t>(child)].text : std::u16string();
}

Status PageSurfaceHeadless::SetText(int child, std::u16string_view text) {
  // As a program sets it: the length limit restricts typing only.
  DELVORIN_TRY(Check(child, ChildKind::TextBox));
  states_[static_cast<size_t>(child)].text.assign(text);
  return Status::Ok();
}

std::u16string PageSurfaceHeadless::Tooltip(int child) const {
  return Exists(child) ? states_[static_cast<size_t>(child)].tooltip : std::u16string();
}

Status PageSurfaceHeadless::SetTooltip(int child, std::u16string_view tooltip) {
  if (!Exists(child)) return Status(Status::kInvalidArgument);
  states_[static_cast<size_t>(child)].tooltip.assign(tooltip);
  return Status::Ok();
}

bool PageSurfaceHeadless::Visible(int child) const {
  return Exists(child) && states_[static_cast<size_t>(child)].visible;
}

Status PageSurfaceHeadless::SetFlag(int child, bool State::*flag, bool on) {
  if (!Exists(child)) return Status(Status::kInvalidArgument);
  states_[static_cast<size_t>(child)].*flag = on;
  return Status::Ok();
}

Status PageSurfaceHeadless::SetVisible(int child, bool visible) { return SetFlag(child, &State::visible, visible); }

bool PageSurfaceHeadless::Enabled(int child) const {
  return Exists(child) && states_[static_cast<size_t>(child)].enabled;
}

Status PageSurfaceHeadless::SetEnabled(int child, bool enabled) { return SetFlag(child, &State::enabled, enabled); }

Status PageSurfaceHeadless::AddItem(int child, std::u16string_view item) {
  DELVORIN_TRY(Check(child, ChildKind::List));
  states_[static_cast<size_t>(child)].items.emplace_back(item);
  return Status::Ok();
}

int PageSurfaceHeadless::ItemCount(int child) const {
  return Check(child, ChildKind::List).ok() ? static_cast<int>(states_[static_cast<size_t>(child)].items.size()) : 0;
}

std::vector<std::u16string> PageSurfaceHeadless::Items(int child) const {
  return Check(child, ChildKind::List).ok() ? states_[static_cast<size_t>(child)].items
                                            : std::vector<std::u16string>();
}

int PageSurfaceHeadless::SelectedIndex(int child) const {
  return Check(child, ChildKind::List).ok() ? states_[static_cast<size_t>(child)].index : -1;
}

Status PageSurfaceHeadless::SetSelectedIndex(int child, int index) {
  DELVORIN_TRY(Check(child, ChildKind::List));
  State& e = states_[static_cast<size_t>(child)];
  if (index < -1 || index >= static_cast<int>(e.items.size())) return Status::InvalidPropertyValue();
  e.index = index;
  return Status::Ok();
}

void PageSurfaceHeadless::MsgBox(std::u16string_view text, int32_t style, std::u16string_view title) {
  shown_.push_back({std::u16string(text), style, std::u16string(title)});
  if (onMessageBox) onMessageBox(shown_.back());
}

std::vector<std::u16string> PageSurfaceHeadless::Lines() const {
  std::vector<std::u16string> lines;
  for (size_t i = 0; i < states_.size(); ++i) {
    const ChildDescription& d = page_.children[i];
    const State& e = states_[i];
    std::u16string line = std::u16string(d.name) + (e.visible ? u" visible" : u" hidden");
    if (!e.enabled) line += u" disabled";
    switch (d.type) {
      case ChildKind::CheckBox: line += u" " + Decimal(e.value); break;
      case ChildKind::List:
        line += u" " + Decimal(e.index);
        if (e.index >= 0) line += u" " + Quoted(e.items[static_cast<size_t>(e.index)]);
        break;
      case ChildKind::Line: break;
      default: line += u" " + Quoted(e.text); break;
    }
    lines.push_back(std::move(line));
  }
  lines.push_back(changed_ ? u"changed: yes" : u"changed: no");
  return lines;
}

}  // namespace delvorin::headless
