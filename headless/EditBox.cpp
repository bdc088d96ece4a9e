#include "headless/EditBox.h"

#include <algorithm>

#include "control/RegrasCaixa.h"
#include "headless/Objetos.h"
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

HeadlessEditBox::HeadlessEditBox() {
  properties_[Propriedade::Alignment] = Variant::I2(0);
  properties_[Propriedade::BackColor] = Variant::I4(static_cast<int32_t>(0x80000005));
  properties_[Propriedade::BorderStyle] = Variant::I2(1);
  properties_[Propriedade::Enabled] = Variant::Boolean(kTrue);
  properties_[Propriedade::Font] = Variant::Object(MakeFont(u"MS Sans Serif", 8.25));
  properties_[Propriedade::ForeColor] = Variant::I4(static_cast<int32_t>(0x80000008));
  properties_[Propriedade::Locked] = Variant::Boolean(kFalse);
  properties_[Propriedade::MaxLength] = Variant::I4(0);
  properties_[Propriedade::Appearance] = Variant::I2(1);
  properties_[Propriedade::PasswordChar] = Variant::Str(u"");
  properties_[Propriedade::MouseIcon] = Variant::Object(nullptr);
  properties_[Propriedade::MousePointer] = Variant::I2(0);
}

Status HeadlessEditBox::SetText(std::u16string_view text) {
  if (text == text_) return Status::Ok();
  text_.assign(text);
  selStart_ = 0;  // as WM_SETTEXT leaves it
  selLength_ = 0;
  if (events_) events_->TXO_Change();
  return Status::Ok();
}

Status HeadlessEditBox::SetSelStart(int32_t start) {
  if (start < 0) return Status::InvalidPropertyValue();
  selStart_ = std::min(start, static_cast<int32_t>(text_.size()));
  selLength_ = 0;
  return Status::Ok();
}

Status HeadlessEditBox::SetSelLength(int32_t length) {
  if (length < 0) return Status::InvalidPropertyValue();
  selLength_ = std::max(0, std::min(length, static_cast<int32_t>(text_.size()) - selStart_));
  return Status::Ok();
}

Status HeadlessEditBox::SetTag(std::u16string_view tag) {
  tag_.assign(tag);
  return Status::Ok();
}

Status HeadlessEditBox::SetFocus() {
  Variant enabled = properties_.at(Propriedade::Enabled);
  if (refuseFocus_ || enabled.boolean() == 0) return Status(Status::kInvalidProcedureCall);
  if (focused_) return Status::Ok();
  focused_ = true;
  if (events_) events_->TXO_GotFocus();
  return Status::Ok();
}

Status HeadlessEditBox::GetProperty(Propriedade p, Variant& value) const {
  if (p == Propriedade::Text) {
    value = Variant::Str(text_);
    return Status::Ok();
  }
  auto it = properties_.find(p);
  if (it == properties_.end()) return Status(Status::kInvalidArgument);
  value = it->second;
  return Status::Ok();
}

Status HeadlessEditBox::SetProperty(Propriedade p, const Variant& value) {
  if (p == Propriedade::Text) {
    if (value.type() != VarType::Str) return Status::TypeMismatch();
    return SetText(value.str());
  }
  auto it = properties_.find(p);
  if (it == properties_.end()) return Status(Status::kInvalidArgument);
  if (value.type() != it->second.type()) return Status::TypeMismatch();
  if (!ValorAceitoPelaCaixa(p, value)) return Status::InvalidPropertyValue();
  it->second = value;
  return Status::Ok();
}

Status HeadlessEditBox::SetWidth(float width) {
  if (!(width >= 0)) return Status::InvalidPropertyValue();
  width_ = width;
  return Status::Ok();
}

Status HeadlessEditBox::SetHeight(float height) {
  if (!(height >= 0)) return Status::InvalidPropertyValue();
  height_ = height;
  return Status::Ok();
}

bool HeadlessEditBox::Editable() const { return properties_.at(Propriedade::Locked).boolean() == 0; }

int32_t HeadlessEditBox::MaxLength() const { return properties_.at(Propriedade::MaxLength).i4(); }

void HeadlessEditBox::Replace(std::u16string_view s) {
  std::u16string novo = text_.substr(0, static_cast<size_t>(selStart_));
  novo.append(s);
  novo.append(text_, static_cast<size_t>(selStart_ + selLength_));
  bool changed = novo != text_;
  text_ = std::move(novo);
  selStart_ += static_cast<int32_t>(s.size());
  selLength_ = 0;
  if (changed && events_) events_->TXO_Change();
}

std::u16string_view HeadlessEditBox::Fitting(std::u16string_view s) const {
  const int32_t limit = MaxLength();
  if (limit <= 0) return s;
  const int64_t room = static_cast<int64_t>(limit) - (static_cast<int64_t>(text_.size()) - selLength_);
  if (room <= 0) return {};
  return static_cast<int64_t>(s.size()) > room ? s.substr(0, static_cast<size_t>(room)) : s;
}

Status HeadlessEditBox::ReplaceSelection(std::u16string_view text) {
  std::u16string_view s = Fitting(text);
  if (!s.empty()) Replace(s);
  return Status::Ok();
}

void HeadlessEditBox::InsertTyped(char16_t c) {
  if (!Editable()) return;
  std::u16string_view s = Fitting(std::u16string_view(&c, 1));
  if (!s.empty()) Replace(s);
}

void HeadlessEditBox::Backspace() {
  if (!Editable()) return;
  if (selLength_ == 0) {
    if (selStart_ == 0) return;
    --selStart_;
    selLength_ = 1;
  }
  Replace(u"");
}

void HeadlessEditBox::DeleteKey(int16_t shift) {
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

void HeadlessEditBox::CopySelection() {
  if (selLength_ > 0) clipboard_ = text_.substr(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_));
}

void HeadlessEditBox::Paste() {
  // The control enters the clipboard's text through its own rules; the box inserts nothing.
  if (Editable() && events_) events_->TXO_Paste(clipboard_);
}

void HeadlessEditBox::TypeCharacter(char16_t c) {
  if (!focused_ || !events_) return;
  int16_t keyCode = 0, shift = 0;
  KeyFor(c, keyCode, shift);
  events_->TXO_KeyDown(keyCode, shift);
  if (c == 22) {  // Ctrl+V pastes without a character of its own
    if (focused_) Paste();
    return;
  }
  int16_t keyAscii = CodigoDeTecla(c);
  events_->TXO_KeyPress(keyAscii);
  std::optional<char16_t> inserted = CaractereDeCodigo(keyAscii);
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

void HeadlessEditBox::PressKey(int16_t keyCode, int16_t shift) {
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

void HeadlessEditBox::MoveMouse(int16_t button, int16_t shift, float x, float y) {
  if (events_) events_->TXO_MouseMove(button, shift, x, y);
}

bool HeadlessEditBox::GainFocus() {
  if (properties_.at(Propriedade::Enabled).boolean() == 0) return false;
  if (focused_) return true;
  focused_ = true;
  if (events_) events_->TXO_GotFocus();
  return true;
}

void HeadlessEditBox::LoseFocus() {
  if (!focused_) return;
  focused_ = false;
  if (events_) events_->TXO_LostFocus();
}

}  // namespace delvorin::headless
