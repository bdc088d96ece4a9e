#pragma once
// What the control needs of its platform. The engine reaches the edit box, the container
// and the runtime only through these interfaces; headless/ realises them in memory and
// the Windows server on Win32 and OLE.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Properties.h"
#include "core/Status.h"
#include "core/Variant.h"

namespace delvorin {

// Notifications of the edit box, handled by the control (the TXO_ handlers).
// What a screen reader is told changed.
enum class AccessibleChange : uint8_t { Name, Description };

class EditBoxEvents {
 public:
  virtual void TXO_Change() = 0;
  virtual void TXO_GotFocus() = 0;
  virtual void TXO_LostFocus() = 0;
  virtual void TXO_KeyDown(int16_t& keyCode, int16_t& shift) = 0;
  virtual void TXO_KeyPress(int16_t& keyAscii) = 0;
  virtual void TXO_MouseMove(int16_t& button, int16_t& shift, float& x, float& y) = 0;
  // The user pasted: text is the clipboard's text, to be entered at the selection. Every
  // route (Ctrl+V, Shift+Insert, the context menu, WM_PASTE) ends here; the box inserts nothing.
  virtual void TXO_Paste(std::u16string_view text) = 0;

 protected:
  ~EditBoxEvents() = default;
};

// The inner single-line edit box TXO. A write of Text that alters it raises Change; a
// SelStart write moves the caret and empties the selection; MaxLength limits typing only.
class EditBox {
 public:
  virtual std::u16string Text() const = 0;
  // The text's length without a copy of it: a rule that runs on every keystroke of a long
  // paste must not copy the text each time.
  virtual int32_t TextLength() const = 0;
  // The character at index (0 <= index < TextLength()).
  virtual char16_t CharacterAt(int32_t index) const = 0;
  virtual Status SetText(std::u16string_view text) = 0;
  virtual int32_t SelStart() const = 0;
  virtual Status SetSelStart(int32_t start) = 0;
  virtual int32_t SelLength() const = 0;
  virtual Status SetSelLength(int32_t length) = 0;
  virtual std::u16string Tag() const = 0;
  virtual Status SetTag(std::u16string_view tag) = 0;
  virtual Status SetFocus() = 0;
  // Replaces the selection with text as typing would: what does not fit the length limit is
  // dropped, the caret ends after the inserted text, and Change is raised when the text changed.
  virtual Status ReplaceSelection(std::u16string_view text) = 0;
  // The forwarded properties other than Text, each already of its property's value type;
  // the edit box applies its own range checks.
  virtual Status GetProperty(Property p, Variant& value) const = 0;
  virtual Status SetProperty(Property p, const Variant& value) = 0;
  virtual Status SetWidth(float width) = 0;
  virtual Status SetHeight(float height) = 0;
  // The edits between BeginBatch and EndBatch (batches nest) may be kept in memory and shown
  // when the outermost batch ends: a window that lays its whole text out on every change then
  // lays it out once per write, not once per edit. Reads, Change and the other notifications
  // behave as if each edit were shown at once.
  virtual void BeginBatch() = 0;
  virtual void EndBatch() = 0;

 protected:
  ~EditBox() = default;
};

// A batch of edits for the lifetime of the object.
class EditBatch {
 public:
  explicit EditBatch(EditBox& box) : box_(box) { box_.BeginBatch(); }
  ~EditBatch() { box_.EndBatch(); }
  EditBatch(const EditBatch&) = delete;
  EditBatch& operator=(const EditBatch&) = delete;

 private:
  EditBox& box_;
};

// The ActiveX container: property-changed notice, events raised with by-reference
// arguments (the host's handler has run when the call returns), ambient font, size.
class Container {
 public:
  virtual Status PropertyChanged(std::u16string_view name) = 0;
  virtual void RaiseMouseMove(int16_t& button, int16_t& shift, float& x, float& y) = 0;
  virtual void RaiseChange() = 0;
  virtual void RaiseKeyDown(int16_t& keyCode, int16_t& shift) = 0;
  virtual void RaiseKeyPress(int16_t& keyAscii) = 0;
  virtual void RaiseTeclaEnter() = 0;
  virtual ObjectRef AmbientFont() = 0;
  virtual float Width() const = 0;
  virtual float Height() const = 0;
  // The field's accessible name or description changed, for the screen reader's events.
  virtual void AccessibleChanged(AccessibleChange what) = 0;

 protected:
  ~Container() = default;
};

// Runtime services: the modal message box, the queued "{tab}" keystroke and the case
// mapping of the whole Basic Multilingual Plane.
class Runtime {
 public:
  virtual void MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) = 0;
  // Queued: processed after the current handler returns.
  virtual Status SendKeys(std::u16string_view keys) = 0;
  virtual std::u16string UCase(std::u16string_view text) = 0;
  virtual std::u16string LCase(std::u16string_view text) = 0;

 protected:
  ~Runtime() = default;
};

// The container's property bag: a read gives the stored value or the default when the key
// is absent; a write may be left out by the container when the value equals the default.
class PropertyBag {
 public:
  virtual Status Read(std::u16string_view key, Variant& value, const Variant& defaultValue) = 0;
  virtual Status Write(std::u16string_view key, const Variant& value, const Variant& defaultValue) = 0;

 protected:
  ~PropertyBag() = default;
};

}  // namespace delvorin
