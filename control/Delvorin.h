#pragma once
// The Delvorin control: nine settings of its own, thirteen properties forwarded to the inner
// edit box TXO, the handlers of TXO's notifications and the leave-field processing. It owns
// every editing rule; the platform only delivers notifications and realises the services.
#include <cstdint>
#include <string>
#include <string_view>

#include "control/Properties.h"
#include "control/Services.h"
#include "control/Status.h"
#include "control/Variant.h"

namespace delvorin {

// Field types held in Tipo.
namespace tipo {
inline constexpr uint8_t MoedaComMascara = 0;
inline constexpr uint8_t MoedaSemMascara = 1;
inline constexpr uint8_t NumeroDuplo = 2;
inline constexpr uint8_t Numero = 3;
inline constexpr uint8_t Texto = 4;
inline constexpr uint8_t TextoIniciais = 5;
inline constexpr uint8_t TextoMaiusculas = 6;
inline constexpr uint8_t TextoMinusculas = 7;
inline constexpr uint8_t Cep = 8;
inline constexpr uint8_t Cpf = 9;
inline constexpr uint8_t Cnpj = 10;
inline constexpr uint8_t Extenso = 11;
inline constexpr uint8_t TextoPrimeira = 12;
inline constexpr uint8_t Pis = 13;
inline constexpr uint8_t Cartao = 14;
}  // namespace tipo

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
  uint8_t Tipo() const { return Tipo_; }
  Status SetTipo(uint8_t v) { return Guarda(Tipo_, v, u"Tipo"); }
  int16_t Negativo() const { return Negativo_; }
  Status SetNegativo(int16_t v) { return Guarda(Negativo_, v, u"Negativo"); }
  int16_t TravaCpf() const { return TravaCpf_; }
  Status SetTravaCpf(int16_t v) { return Guarda(TravaCpf_, v, u"TravaCpf"); }
  uint8_t Digitos() const { return Digitos_; }
  Status SetDigitos(uint8_t v) { return Guarda(Digitos_, v, u"Digitos"); }
  int16_t MSGcpf() const { return MSGcpf_; }
  Status SetMSGcpf(int16_t v) { return Guarda(MSGcpf_, v, u"MSGcpf"); }
  int16_t Aspas() const { return Aspas_; }
  Status SetAspas(int16_t v) { return Guarda(Aspas_, v, u"Aspas"); }
  int16_t TC_Trim() const { return TC_Trim_; }
  Status SetTC_Trim(int16_t v) { return Guarda(TC_Trim_, v, u"TC_Trim"); }
  int16_t Usar_Enter() const { return Usar_Enter_; }
  Status SetUsar_Enter(int16_t v) { return Guarda(Usar_Enter_, v, u"Usar_Enter"); }
  int16_t usar_parenteses() const { return usar_parenteses_; }
  Status Setusar_parenteses(int16_t v) { return Guarda(usar_parenteses_, v, u"usar_parenteses"); }
  // Type 10 takes the alphanumeric CNPJ (letters in the 12 base positions) as well.
  int16_t CnpjAlfanumerico() const { return CnpjAlfanumerico_; }
  Status SetCnpjAlfanumerico(int16_t v) { return Guarda(CnpjAlfanumerico_, v, u"CnpjAlfanumerico"); }

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
  void FormataCampo(std::u16string texto);

 private:
  template <typename T>
  Status Guarda(T& campo, T valor, std::u16string_view nome) {
    campo = valor;
    return host_.PropertyChanged(nome);
  }
  Status SetOwn(Property p, const Variant& v);
  Variant GetOwn(Property p) const;
  Status FormataCampoOuFalha(std::u16string& texto);
  Status ConfereDocumento(const std::u16string& texto);
  void TeclaNumerica(int16_t& keyAscii);
  void InsereSeparador();
  // A typed letter of an alphanumeric CNPJ in capitals, or 0 where no letter may go.
  int16_t LetraDeCnpj(int16_t keyAscii) const;
  std::u16string Capitaliza(std::u16string texto);

  EditBox& txo_;
  Container& host_;
  Runtime& runtime_;

  // Own settings, in the order the object holds them; zero until initialised or loaded.
  int16_t usar_parenteses_ = 0;
  int16_t Usar_Enter_ = 0;
  int16_t TC_Trim_ = 0;
  int16_t Aspas_ = 0;
  int16_t MSGcpf_ = 0;
  uint8_t Digitos_ = 0;
  int16_t Negativo_ = 0;
  int16_t TravaCpf_ = 0;
  uint8_t Tipo_ = 0;
  int16_t CnpjAlfanumerico_ = 0;
};

}  // namespace delvorin
