#pragma once
// One Delvorin control on an in-memory form: the control, its edit box, the container and
// the runtime wired together, with the focus moving between the field and a next control.
// Every user action runs its notifications, then the queued "{tab}" keystrokes, as a
// message loop would after the handler returns.
#include <string_view>

#include "control/Delvorin.h"
#include "headless/EditBoxHeadless.h"
#include "headless/ContainerHeadless.h"

namespace delvorin::headless {

class Form {
 public:
  enum class Start { NewInstance, Blank };
  explicit Form(Start start = Start::NewInstance);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Delvorin& control() { return control_; }
  EditBoxHeadless& txo() { return txo_; }
  ContainerHeadless& host() { return host_; }
  RuntimeHeadless& runtime() { return runtime_; }

  // The focus enters the field (or the control itself when the edit box cannot take it).
  void Focus();
  // The focus leaves the field for the next control.
  void Blur();
  bool FieldHasFocus() const { return txo_.focused(); }
  // Types each character as the user would.
  void Type(std::u16string_view text);
  // A key without a character of its own (Delete, Home, End, arrows, Shift+Insert), or
  // Backspace/Enter/Ctrl+V.
  void PressKey(int16_t keyCode, int16_t shift = 0);
  // Puts text on the clipboard and presses Ctrl+V.
  void Paste(std::u16string_view text);
  // The host changes the control's size.
  Status Resize(float width, float height);
  // Processes the queued keystrokes: "{tab}" moves the focus on.
  void ProcessQueuedKeys();

 private:
  EditBoxHeadless txo_;
  ContainerHeadless host_;
  RuntimeHeadless runtime_;
  Delvorin control_;
};

}  // namespace delvorin::headless
