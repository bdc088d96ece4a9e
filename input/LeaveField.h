#pragma once
// Leave-field processing, run when the edit box loses the focus, by Atualiza and by a write
// of Text: Aspas and TC_Trim first, then the display form of the type or the check of a
// document number (with its message box and, under TravaCpf, the focus sent back).
#include <string>

#include "core/Services.h"
#include "core/Settings.h"
#include "core/Status.h"
#include "format/DocumentTypes.h"

namespace delvorin {

class LeaveField {
 public:
  LeaveField(const Settings& settings, EditBox& txo, Runtime& runtime) : s_(settings), txo_(txo), runtime_(runtime) {}

  // text is the text to bring into form (the edit box's, or the value being assigned).
  // Never fails towards its caller: any failure leaves "0" in the field.
  void FormataCampo(std::u16string text);
  // The short message of the invalid value the last run found (warned of or not), or empty.
  std::u16string_view invalid() const { return invalid_; }

 private:
  Status Run(std::u16string& text);
  Status CheckDocument(const std::u16string& text);
  // Types 15 to 25: the type's check on the characters, the full form shown first.
  Status CheckLaidOut(const std::u16string& text);
  // Type 26: every required slot of the mask filled.
  Status CheckMascara(const std::u16string& text);
  // The invalid document's warning, and under TravaCpf the focus sent back.
  Status Warn(const DocumentType& type);
  Status Warn(std::u16string_view shortMessage, std::u16string_view longMessage);
  std::u16string Capitalize(std::u16string text);

  const Settings& s_;
  EditBox& txo_;
  Runtime& runtime_;
  std::u16string_view invalid_;
};

}  // namespace delvorin
