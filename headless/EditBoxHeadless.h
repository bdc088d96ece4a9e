#pragma once
// An in-memory single-line edit box that behaves like the Windows EDIT control where the
// control relies on it: text, caret and selection, typing that replaces the selection,
// MaxLength limiting typing only, Backspace/Delete editing, caret keys, clipboard keys,
// Tag, focus, and the forwarded properties with the edit box's own range checks.
#include <cstdint>
#include <map>
#include <string>

#include "core/Services.h"

namespace delvorin::headless {

// Virtual-key codes the edit box handles itself.
namespace vk {
inline constexpr int16_t Back = 8;
inline constexpr int16_t Tab = 9;
inline constexpr int16_t Return = 13;
inline constexpr int16_t End = 35;
inline constexpr int16_t Home = 36;
inline constexpr int16_t Left = 37;
inline constexpr int16_t Right = 39;
inline constexpr int16_t Insert = 45;
inline constexpr int16_t Delete = 46;
inline constexpr int16_t V = 86;
inline constexpr int16_t Packet = 231;  // a character without a key of its own
}  // namespace vk

inline constexpr int16_t kShiftMask = 1;
inline constexpr int16_t kCtrlMask = 2;

class EditBoxHeadless final : public EditBox {
 public:
  EditBoxHeadless();

  // The handlers that receive the notifications (the control).
  void Connect(EditBoxEvents* events) { events_ = events; }

  // EditBox
  std::u16string Text() const override { return text_; }
  int32_t TextLength() const override { return static_cast<int32_t>(text_.size()); }
  char16_t CharacterAt(int32_t index) const override { return text_[static_cast<size_t>(index)]; }
  Status SetText(std::u16string_view text) override;
  int32_t SelStart() const override { return selStart_; }
  Status SetSelStart(int32_t start) override;
  int32_t SelLength() const override { return selLength_; }
  Status SetSelLength(int32_t length) override;
  std::u16string Tag() const override { return tag_; }
  Status SetTag(std::u16string_view tag) override;
  Status SetFocus() override;
  Status ReplaceSelection(std::u16string_view text) override;
  Status GetProperty(Property p, Variant& value) const override;
  Status SetProperty(Property p, const Variant& value) override;
  Status SetWidth(float width) override;
  Status SetHeight(float height) override;
  // Already in memory: every edit is shown at once.
  void BeginBatch() override {}
  void EndBatch() override {}

  // What the user does. Each raises the notifications a real edit box raises.
  void TypeCharacter(char16_t c);                 // key-down, KeyPress, insertion, Change
  void PressKey(int16_t keyCode, int16_t shift);  // key-down and the box's own action
  void MoveMouse(int16_t button, int16_t shift, float x, float y);
  // Focus moves in or out; false when the box cannot take the focus (disabled).
  bool GainFocus();
  void LoseFocus();

  bool focused() const { return focused_; }
  float width() const { return width_; }
  float height() const { return height_; }
  const std::u16string& clipboard() const { return clipboard_; }
  void set_clipboard(std::u16string text) { clipboard_ = std::move(text); }
  // Makes the next focus requests fail, as when the form is being hidden.
  void set_refuse_focus(bool refuse) { refuseFocus_ = refuse; }

 private:
  bool Editable() const;
  int32_t MaxLength() const;
  // Replaces the selection by s (already limited by the caller) and puts the caret after it.
  void Replace(std::u16string_view s);
  // s cut to the room the length limit leaves beside the selection.
  std::u16string_view Fitting(std::u16string_view s) const;
  void InsertTyped(char16_t c);
  void Backspace();
  void DeleteKey(int16_t shift);
  void CopySelection();
  void Paste();

  EditBoxEvents* events_ = nullptr;
  std::u16string text_;
  int32_t selStart_ = 0;
  int32_t selLength_ = 0;
  std::u16string tag_;
  std::map<Property, Variant> properties_;
  float width_ = 1455;
  float height_ = 285;
  bool focused_ = false;
  bool refuseFocus_ = false;
  std::u16string clipboard_;
};

}  // namespace delvorin::headless
