#pragma once
// The Delvorin control: its own settings, the properties forwarded to the inner edit box TXO,
// and the handlers of TXO's notifications. It composes the editing rules (keystroke filter,
// focus entry, leave-field processing) over the settings and TXO; the platform only delivers
// notifications and realises the services.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/Properties.h"
#include "core/Services.h"
#include "core/Settings.h"
#include "core/Status.h"
#include "core/Variant.h"
#include "format/Moeda.h"
#include "input/FocusEntry.h"
#include "input/KeystrokeFilter.h"
#include "input/LeaveField.h"

namespace delvorin {

class Delvorin final : public EditBoxEvents {
 public:
  Delvorin(EditBox& txo, Container& host, Runtime& runtime);
  Delvorin(const Delvorin&) = delete;
  Delvorin& operator=(const Delvorin&) = delete;

  // Container notices.
  void InitProperties();
  Status ReadProperties(PropertyBag& bag);
  Status WriteProperties(PropertyBag& bag);
  Status Resize();

  // Any property by its table entry; Put converts the value to the property's type first.
  Status Get(Property p, Variant& value) const;
  Status Put(Property p, const Variant& value);

  // Own settings.
  uint8_t Tipo() const { return s_.Tipo; }
  Status SetTipo(uint8_t v) { return Store(s_.Tipo, v, u"Tipo"); }
  int16_t Negativo() const { return s_.Negativo; }
  Status SetNegativo(int16_t v) { return Store(s_.Negativo, v, u"Negativo"); }
  int16_t TravaCpf() const { return s_.TravaCpf; }
  Status SetTravaCpf(int16_t v) { return Store(s_.TravaCpf, v, u"TravaCpf"); }
  uint8_t Digitos() const { return s_.Digitos; }
  Status SetDigitos(uint8_t v) { return Store(s_.Digitos, v, u"Digitos"); }
  int16_t MSGcpf() const { return s_.MSGcpf; }
  Status SetMSGcpf(int16_t v) { return Store(s_.MSGcpf, v, u"MSGcpf"); }
  int16_t Aspas() const { return s_.Aspas; }
  Status SetAspas(int16_t v) { return Store(s_.Aspas, v, u"Aspas"); }
  int16_t TC_Trim() const { return s_.TC_Trim; }
  Status SetTC_Trim(int16_t v) { return Store(s_.TC_Trim, v, u"TC_Trim"); }
  int16_t Usar_Enter() const { return s_.Usar_Enter; }
  Status SetUsar_Enter(int16_t v) { return Store(s_.Usar_Enter, v, u"Usar_Enter"); }
  int16_t usar_parenteses() const { return s_.usar_parenteses; }
  Status Setusar_parenteses(int16_t v) { return Store(s_.usar_parenteses, v, u"usar_parenteses"); }
  // Type 10 takes the alphanumeric CNPJ (letters in the 12 base positions) as well.
  int16_t CnpjAlfanumerico() const { return s_.CnpjAlfanumerico; }
  Status SetCnpjAlfanumerico(int16_t v) { return Store(s_.CnpjAlfanumerico, v, u"CnpjAlfanumerico"); }
  // Type 25's state: one of the 27 abbreviations in any case, kept in capitals, or empty.
  const std::u16string& UF() const { return s_.UF; }
  Status SetUF(std::u16string_view v);
  const std::u16string& Mascara() const { return s_.Mascara; }
  Status SetMascara(std::u16string_view v);
  // The accessible name given by the developer (empty: the label before the control names it).
  const std::u16string& NomeAcessivel() const { return s_.NomeAcessivel; }
  Status SetNomeAcessivel(std::u16string_view v);
  // What a screen reader says of the field: its kind and, after it was left invalid and until
  // its text changes, the short invalid message; and whether its text is hidden (PasswordChar).
  std::u16string AccessibleDescription() const;
  bool HidesText() const;
  // The field's value as a typed automation value, read and written; whether it passes the
  // type's check (read-only).
  Variant Valor() const;
  Status SetValor(const Variant& v);
  bool Valido() const;

  // Text: a read gives the edit box's text as shown; a write formats it by type at once.
  std::u16string Text() const { return txo_.Text(); }
  Status SetText(std::u16string_view value);

  // Runs the leave-field processing on demand. The result is always an empty reference.
  ObjectRef Atualiza();

  // Notifications of TXO.
  void TXO_Change() override;
  void TXO_GotFocus() override;
  void TXO_LostFocus() override;
  void TXO_KeyDown(int16_t& keyCode, int16_t& shift) override;
  void TXO_KeyPress(int16_t& keyAscii) override;
  void TXO_MouseMove(int16_t& button, int16_t& shift, float& x, float& y) override;
  void TXO_Paste(std::u16string_view text) override;
  // Focus reached the control itself (the edit box could not take it).
  void UserControl_GotFocus();

  // Leave-field processing: Aspas, TC_Trim, then the display form or the document check.
  // Never fails towards its caller: any failure leaves "0" in the field.
  void FormataCampo(std::u16string text) { Leave(std::move(text)); }

 private:
  template <typename T>
  Status Store(T& field, T value, std::u16string_view name) {
    field = value;
    return host_.PropertyChanged(name);
  }
  Status SetOwn(Property p, const Variant& v);
  // The leave-field processing, then the invalid state it found.
  void Leave(std::u16string text);
  Variant GetOwn(Property p) const;

  EditBox& txo_;
  Container& host_;
  Runtime& runtime_;

  Settings s_;
  // The amount the words of a type-11 field were last written from, for Valor.
  std::optional<Moeda> extensoAmount_;
  KeystrokeFilter filter_;
  FocusEntry focusEntry_;
  LeaveField leaveField_;
  // The short message of the invalid value the field was left with; empty once the text changes.
  std::u16string invalid_;
};

}  // namespace delvorin
