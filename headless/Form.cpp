#include "headless/Form.h"

namespace delvorin::headless {

Form::Form(Start start) : control_(txo_, host_, runtime_) {
  txo_.Connect(&control_);
  if (start == Start::NewInstance) {
    control_.InitProperties();
    (void)control_.Resize();
  }
}

void Form::Focus() {
  if (!txo_.GainFocus()) control_.UserControl_GotFocus();
  ProcessQueuedKeys();
}

void Form::Blur() {
  txo_.LoseFocus();
  ProcessQueuedKeys();
}

void Form::Type(std::u16string_view text) {
  for (char16_t c : text) {
    txo_.TypeCharacter(c);
    ProcessQueuedKeys();
  }
}

void Form::PressKey(int16_t keyCode, int16_t shift) {
  if (keyCode == vk::Back || keyCode == vk::Return) {
    txo_.TypeCharacter(static_cast<char16_t>(keyCode));
  } else if (keyCode == vk::V && shift == kCtrlMask) {
    txo_.TypeCharacter(22);
  } else if (keyCode == vk::Tab) {
    txo_.LoseFocus();  // the form's tab order takes Tab before the edit box sees it
  } else {
    txo_.PressKey(keyCode, shift);
  }
  ProcessQueuedKeys();
}

void Form::Paste(std::u16string_view text) {
  txo_.set_clipboard(std::u16string(text));
  PressKey(vk::V, kCtrlMask);
}

Status Form::Resize(float width, float height) {
  host_.SetSize(width, height);
  return control_.Resize();
}

void Form::ProcessQueuedKeys() {
  // Each "{tab}" moves the focus out of the field at most once, so this ends; the bound
  // guards against a host whose handlers keep queueing keys.
  for (int i = 0; i < 1000 && runtime_.HasQueuedKeys(); ++i) {
    if (runtime_.TakeQueuedKeys() == u"{tab}") txo_.LoseFocus();
  }
}

}  // namespace delvorin::headless

