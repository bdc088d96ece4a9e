#include "headless/EditBoxHeadless.h"

#include <algorithm>

#include "core/EditBoxRules.h"
#include "headless/Objects.h"
#include "input/Cp1252.h"

namespace delvorin::headless {
namespace {

// The key that produces a typed character on a US keyboard, with its Shift state.
void KeyFor(char16_t c, int16_t& keyCode, int16_t& shift) {
  shift = 0;
  if (c >= u'a' && c <= u'z') {
    keyCode = static_cast<int16_t>(c - u'a' + u'A');
  } else if (c >= u'A' && c <= u'Z') {
    keyCode = static_cast<int16_t>(c);
    shift = kShiftMask;
  } else if ((c >= u'0' && c <= u'9') || c == u' ') {
    keyCode = static_cast<int16_t>(c);
  } else if (c == 22) {  // Ctrl+V
    keyCode = vk::V;
    shift = kCtrlMask;
  } else if (c == u'\b') {
    keyCode = vk::Back;
  } else if (c == u'\r') {
    keyCode = vk::Return;
  } else if (c == u',') {
    keyCode = 188;
  } else if (c == u'-') {
    keyCode = 189;
  } else if (c == u'.') {
    keyCode = 190;
  } else {
    keyCode = vk::Packet;
  }
}

}  // namespace

EditBoxHeadless::EditBoxHeadless() {
  properties_[Property::Alignment] = Variant::I2(0);
  properties_[Property::BackColor] = Variant::I4(static_cast<int32_t>(0x80000005));
  properties_[Property::BorderStyle] = Variant::I2(1);
  properties_[Property::Enabled] = Variant::Boolean(kTrue);
  properties_[Property::Font] = Variant::Object(MakeFont(u"MS Sans Serif", 8.25));
  properties_[Property::ForeColor] = Variant::I4(static_cast<int32_t>(0x80000008));
  properties_[Property::Locked] = Variant::Boolean(kFalse);
  properties_[Property::MaxLength] = Variant::I4(0);
  properties_[Property::Appearance] = Variant::I2(1);
  properties_[Property::PasswordChar] = Variant::Str(u"");
  properties_[Property::MouseIcon] = Variant::Object(nullptr);
  properties_[Property::MousePointer] = Variant::I2(0);
}

Status EditBoxHeadless::SetText(std::u16string_view text) {
  if (text == text_) return Status::Ok();
  text_.assign(text);
  selStart_ = 0;  // as WM_SETTEXT leaves it
  selLength_ = 0;
  if (events_) events_->TXO_Change();
  return Status::Ok();
}

Status EditBoxHeadless::SetSelStart(int32_t start) {
  if (start < 0) return Status::InvalidPropertyValue();
  selStart_ = std::min(start, static_cast<int32_t>(text_.size()));
  selLength_ = 0;
  return Status::Ok();
}

Status EditBoxHeadless::SetSelLength(int32_t length) {
  if (length < 0) return Status::InvalidPropertyValue();
  selLength_ = std::max(0, std::min(length, static_cast<int32_t>(text_.size()) - selStart_));
  return Status::Ok();
}

Status EditBoxHeadless::SetTag(std::u16string_view tag) {
  tag_.assign(tag);
  return Status::Ok();
}

Status EditBoxHeadless::SetFocus() {
  Variant enabled = properties_.at(Property::Enabled);
  if (refuseFocus_ || enabled.boolean() == 0) return Status(Status::kInvalidProcedureCall);
  if (focused_) return Status::Ok();
  focused_ = true;
  if (events_) events_->TXO_GotFocus();
  return Status::Ok();
}

Status EditBoxHeadless::GetProperty(Property p, Variant& value) const {
  if (p == Property::Text) {
    value = Variant::Str(text_);
    return Status::Ok();
  }
  auto it = properties_.find(p);
  if (it == properties_.end()) return Status(Status::kInvalidArgument);
  value = it->second;
  return Status::Ok();
}

Status EditBoxHeadless::SetProperty(Property p, const Variant& value) {
  if (p == Property::Text) {
    if (value.type() != VarType::Str) return Status::TypeMismatch();
    return SetText(value.str());
  }
  auto it = properties_.find(p);
  if (it == properties_.end()) return Status(Status::kInvalidArgument);
  if (value.type() != it->second.type()) return Status::TypeMismatch();
  if (!EditBoxAccepts(p, value)) return Status::InvalidPropertyValue();
  it->second = value;
  return Status::Ok();
}

Status EditBoxHeadless::SetWidth(float width) {
  if (!(width >= 0)) return Status::InvalidPropertyValue();
  width_ = width;
  return Status::Ok();
}

Status EditBoxHeadless::SetHeight(float height) {
  if (!(height >= 0)) return Status::InvalidPropertyValue();
  height_ = height;
  return Status::Ok();
}

bool EditBoxHeadless::Editable() const { return properties_.at(Property::Locked).boolean() == 0; }

int32_t EditBoxHeadless::MaxLength() const { return properties_.at(Property::MaxLength).i4(); }

void EditBoxHeadless::Replace(std::u16string_view s) {
  // In place, and compared over the replaced part only: a long paste or typing at the end of a
  // long text costs what it inserts, not the whole text each time.
  const size_t start = static_cast<size_t>(selStart_), length = static_cast<size_t>(selLength_);
  const bool changed = text_.compare(start, length, s) != 0;
  if (changed) text_.replace(start, length, s);
  selStart_ += static_cast<int32_t>(s.size());
  selLength_ = 0;
  if (changed && events_) events_->TXO_Change();
}

std::u16string_view EditBoxHeadless::Fitting(std::u16string_view s) const {
  const int32_t limit = MaxLength();
  if (limit <= 0) return s;
  const int64_t room = static_cast<int64_t>(limit) - (static_cast<int64_t>(text_.size()) - selLength_);
  if (room <= 0) return {};
  return static_cast<int64_t>(s.size()) > room ? s.substr(0, static_cast<size_t>(room)) : s;
}

Status EditBoxHeadless::ReplaceSelection(std::u16string_view text) {
  std::u16string_view s = Fitting(text);
  if (!s.empty()) Replace(s);
  return Status::Ok();
}

void EditBoxHeadless::InsertTyped(char16_t c) {
  if (!Editable()) return;
  std::u16string_view s = Fitting(std::u16string_view(&c, 1));
  if (!s.empty()) Replace(s);
}

void EditBoxHeadless::Backspace() {
  if (!Editable()) return;
  if (selLength_ == 0) {
    if (selStart_ == 0) return;
    --selStart_;
    selLength_ = 1;
  }
  Replace(u"");
}

void EditBoxHeadless::DeleteKey(int16_t shift) {
  bool withShift = (shift & kShiftMask) != 0, withCtrl = (shift & kCtrlMask) != 0;
  if (!Editable() || (withShift && withCtrl)) return;
  if (selLength_ > 0) {
    if (withShift) CopySelection();  // Shift+Delete cuts
    Replace(u"");
    return;
  }
  if (withShift) {  // the character left of the caret
    Backspace();
    return;
  }
  if (selStart_ >= static_cast<int32_t>(text_.size())) return;
  selLength_ = withCtrl ? static_cast<int32_t>(text_.size()) - selStart_ : 1;
  Replace(u"");
}

void EditBoxHeadless::CopySelection() {
  if (selLength_ > 0) clipboard_ = text_.substr(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_));
}

void EditBoxHeadless::Paste() {
  // The control enters the clipboard's text through its own rules; the box inserts nothing.
  if (Editable() && events_) events_->TXO_Paste(clipboard_);
}

void EditBoxHeadless::TypeCharacter(char16_t c) {
  if (!focused_ || !events_) return;
  int16_t keyCode = 0, shift = 0;
  KeyFor(c, keyCode, shift);
  events_->TXO_KeyDown(keyCode, shift);
  if (c == 22) {  // Ctrl+V pastes without a character of its own
    if (focused_) Paste();
    return;
  }
  int16_t keyAscii = KeyCodeOf(c);
  events_->TXO_KeyPress(keyAscii);
  std::optional<char16_t> inserted = CharacterOfCode(keyAscii);
  if (!inserted || !focused_) return;
  switch (*inserted) {
    case u'\b': Backspace(); return;
    case 1:  // Ctrl+A
      selStart_ = 0;
      selLength_ = static_cast<int32_t>(text_.size());
      return;
    case 3: CopySelection(); return;  // Ctrl+C
    case 22: Paste(); return;         // a character a host turned into Ctrl+V
    case 24:                          // Ctrl+X
      if (Editable() && selLength_ > 0) {
        CopySelection();
        Replace(u"");
      }
      return;
    default:
      if (*inserted < 32 || *inserted == 127) return;  // other control codes insert nothing
      InsertTyped(*inserted);
  }
}

void EditBoxHeadless::PressKey(int16_t keyCode, int16_t shift) {
  if (!focused_ || !events_) return;
  const int16_t key = keyCode;
  events_->TXO_KeyDown(keyCode, shift);
  if (keyCode == 0) return;  // consumed by a handler
  const int32_t length = static_cast<int32_t>(text_.size());
  switch (key) {
    case vk::Delete: DeleteKey(shift); return;
    case vk::Insert:
      if ((shift & (kShiftMask | kCtrlMask)) == kShiftMask) Paste();
      else if ((shift & (kShiftMask | kCtrlMask)) == kCtrlMask) CopySelection();
      return;
    case vk::Home: selStart_ = 0; selLength_ = 0; return;
    case vk::End: selStart_ = length; selLength_ = 0; return;
    case vk::Left:
      if (selLength_ == 0 && selStart_ > 0) --selStart_;
      selLength_ = 0;
      return;
    case vk::Right:
      if (selLength_ > 0) selStart_ += selLength_;
      else if (selStart_ < length) ++selStart_;
      selLength_ = 0;
      return;
    default: return;
  }
}

void EditBoxHeadless::MoveMouse(int16_t button, int16_t shift, float x, float y) {
  if (events_) events_->TXO_MouseMove(button, shift, x, y);
}

bool EditBoxHeadless::GainFocus() {
  if (properties_.at(Property::Enabled).boolean() == 0) return false;
  if (focused_) return true;
  focused_ = true;
  if (events_) events_->TXO_GotFocus();
  return true;
}

void EditBoxHeadless::LoseFocus() {
  if (!focused_) return;
  focused_ = false;
  if (events_) events_->TXO_LostFocus();
}

}  // namespace delvorin::headless
