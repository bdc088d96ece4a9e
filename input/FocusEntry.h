#pragma once
// Focus entry: the display form of an amount or number becomes the plain value being
// edited, document types get their layout's length limit, and the whole text is selected.
#include "core/Services.h"
#include "core/Settings.h"

namespace delvorin {

class FocusEntry {
 public:
  FocusEntry(const Settings& settings, EditBox& txo) : s_(settings), txo_(txo) {}

  // The edit box took the focus.
  void Enter();

 private:
  const Settings& s_;
  EditBox& txo_;
};

}  // namespace delvorin
