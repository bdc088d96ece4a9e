#pragma once
// The edit box TXO realised as a real Win32 EDIT window. Until the control is placed there is
// no window: text, selection, limit and visual properties are held here, and the window is
// made with all of them applied in one go. From then on they are the window's own, and its
// notifications reach the control's handlers through the window procedure (subclassed) and
// the parent's WM_COMMAND.
#include "ocx/Com.h"

#include <map>
#include <memory>
#include <string>

#include "core/Services.h"

namespace delvorin::ocx {

// What the edit box tells the control that owns it, beyond the engine's handlers.
class EditBoxOwner {
 public:
  // Whether the field takes Enter itself; a dialog then hands it over instead of pressing its
  // default button.
  virtual bool WantsEnter() = 0;
  // The window gained (true) or lost (false) the focus, before the handlers run.
  virtual void FocusChanged(bool gained) = 0;
  // The text changed (EN_CHANGE, or a change seen by the box itself), after the handlers ran.
  virtual void TextChanged() = 0;
  // The font of a new edit box.
  virtual ObjectRef InitialFont() = 0;
  // The focus left the window for another one and stayed there: called from the message loop,
  // after the handlers of the loss ran and whatever they showed was closed. Only while
  // NoticeFocusLeft(true) is set.
  virtual void FocusLeft() = 0;
  // WM_GETOBJECT: true when the owner answered it (in result).
  virtual bool AccessibleObject(WPARAM wp, LPARAM lp, LRESULT* result) = 0;

 protected:
  ~EditBoxOwner() = default;
};

class EditBoxWin32 final : public EditBox {
 public:
  EditBoxWin32() = default;
  ~EditBoxWin32();
  // The box in memory at the given size; the handlers and the owner receive its notifications.
  void Init(EditBoxEvents* events, EditBoxOwner* owner, float widthTwips, float heightTwips);
  // Makes the EDIT window with the state held so far: a child of parent filling it, or, when
  // alone, itself the in-place window at pos in the container's window parent; the container
  // then reflects the edit box's notifications and colour requests back to it.
  bool MakeWindow(HWND parent, const RECT& pos, bool alone);
  // Whether the window is the control's in-place window, with no window of the control around it.
  bool IsAlone() const { return alone_; }
  // Puts the window, alone, in parent at pos again; takes it back out of sight.
  void PutBackInPlace(HWND parent, const RECT& pos);
  void TakeOutOfPlace();
  // Moves the window, alone, to pos in its parent.
  void Move(const RECT& pos);
  HWND window() const { return hwnd_; }
  void NoticeFocusLeft(bool on) { noticeFocusLeft_ = on; }
  // While there is no window: the cursor the field shows under the mouse, and the container's
  // mouse move at (x, y) pixels from the field's outer corner, raised as the window would.
  HCURSOR FieldCursor();
  void WindowlessMouseMove(WPARAM buttons, int x, int y);
  bool IsEnabled() const;
  // EN_CHANGE, or a change of the text made while there is no window: the handlers learn of it
  // when the text differs from the last one seen, then the owner.
  void NotifyChange();
  // The font's handle, while the Font property holds a font.
  HFONT FontHandle() const;
  // From the parent's WM_CTLCOLOREDIT/STATIC: sets the colours on dc, returns the background brush.
  HBRUSH Colours(HDC dc);

  std::u16string Text() const override;
  int32_t TextLength() const override;
  char16_t CharacterAt(int32_t index) const override;
  Status SetText(std::u16string_view text) override;
  int32_t SelStart() const override;
  Status SetSelStart(int32_t start) override;
  int32_t SelLength() const override;
  Status SetSelLength(int32_t length) override;
  std::u16string Tag() const override { return tag_; }
  Status SetTag(std::u16string_view tag) override;
  Status SetFocus() override;
  Status ReplaceSelection(std::u16string_view text) override;
  Status GetProperty(Property p, Variant& value) const override;
  Status SetProperty(Property p, const Variant& value) override;
  Status SetWidth(float width) override;
  Status SetHeight(float height) override;
  // The window's size in pixels, when the container gives it exactly.
  void SetPixelSize(int width, int height);
  // Within a batch, the first edit takes the window's text and selection into memory; every
  // later one edits them there, and the window is handed the result once, when the batch ends
  // or a message needs the window's text first (ShowHeld).
  void BeginBatch() override { ++batchDepth_; }
  void EndBatch() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Every paste route ends here: WM_PASTE (which the EDIT's context menu sends, and Wine's
  // EDIT on a middle click), Ctrl+V and Shift+Insert. The clipboard's text goes to the
  // control's paste rule.
  void Paste();
  void ApplyStyle();
  void EnsureFont() const;
  // The window styles the visual properties ask for, over the given ones.
  void ComputeStyles(LONG& style, LONG& ex);
  // True when the text differs from the last one seen; the handlers then learn of it.
  bool CheckChanged();
  // The text held in memory changed: the handlers learn of it at once, the owner at once or,
  // within a batch, when it ends.
  void HeldChanged();
  // Within a batch with a window: the window's text and selection taken into memory.
  void HoldWindow();
  // The text and selection held while there is a window, handed to it.
  void ShowHeld();
  // The messages that read or change the window's text or selection, or show it.
  static bool NeedsShownText(UINT msg);
  void Select(int64_t start, int64_t end);
  // MouseMove raised for the mouse at (x, y) pixels of the client area, MK_ buttons down.
  void MouseMove(WPARAM buttons, int x, int y);
  HCURSOR Cursor();

  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;
  EditBoxEvents* events_ = nullptr;
  std::u16string tag_;
  // The first font is made on first use (EnsureFont).
  mutable std::map<Property, Variant> properties_;
  float width_ = 0, height_ = 0;  // twips
  SIZE pixels_{};                        // the size last given to the window
  std::u16string lastText_;  // the text when Change was last raised
  // The text and the selection (anchor order kept, as EM_SETSEL keeps it) in memory: without a
  // window, and within a batch after its first edit. With a window, limit is the window's
  // length limit, and changed says whether the text differs from the window's.
  struct Held {
    std::u16string text;
    int32_t start = 0, end = 0;
    int64_t limit = 0;
    bool changed = false;
  };
  std::unique_ptr<Held> held_;
  int batchDepth_ = 0;
  bool lastTextStale_ = false;  // every change of the held text was raised: lastText_ is held_->text
  bool ownerPending_ = false;   // the owner has yet to hear of a change made within the batch
  EditBoxOwner* owner_ = nullptr;
  HBRUSH backBrush_ = nullptr;  // BackColor's brush, made when first painted
  COLORREF backColor_ = 0;
  bool pasting_ = false;  // a paste is under way (the host's KeyPress handler may ask for another)
  bool alone_ = false;  // the in-place window itself, a child of the container's window
  bool silenced_ = false;   // being taken out of place: a loss of focus tells nobody
  bool noticeFocusLeft_ = false;  // the owner hears when the focus stayed away (FocusLeft)
};

}  // namespace delvorin::ocx
