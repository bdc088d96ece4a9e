#pragma once
// The control's own settings, read by the keystroke filter, focus entry and the leave-field
// processing. Booleans hold the automation forms 0 and -1; every field is zero until the
// control is initialised or loaded.
#include <cstdint>
#include <string>

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
inline constexpr uint8_t CpfOuCnpj = 15;
inline constexpr uint8_t Telefone = 16;
inline constexpr uint8_t Data = 17;
inline constexpr uint8_t Hora = 18;
inline constexpr uint8_t Placa = 19;
inline constexpr uint8_t TituloEleitor = 20;
inline constexpr uint8_t Cnh = 21;
inline constexpr uint8_t Renavam = 22;
inline constexpr uint8_t Boleto = 23;
inline constexpr uint8_t ProcessoJudicial = 24;
inline constexpr uint8_t InscricaoEstadual = 25;
inline constexpr uint8_t Mascara = 26;
}  // namespace tipo

// Amounts, numbers and whole numbers: the types whose text is a value.
constexpr bool IsNumericType(uint8_t t) { return t <= tipo::Numero; }

struct Settings {
  int16_t usar_parenteses = 0;
  int16_t Usar_Enter = 0;
  int16_t TC_Trim = 0;
  int16_t Aspas = 0;
  int16_t MSGcpf = 0;
  uint8_t Digitos = 0;
  int16_t Negativo = 0;
  int16_t TravaCpf = 0;
  uint8_t Tipo = 0;
  // Type 10 takes the alphanumeric CNPJ (letters in the 12 base positions) as well.
  int16_t CnpjAlfanumerico = 0;
  // Type 25: the state whose registration the field holds (its abbreviation in capitals), or
  // empty for any state.
  std::u16string UF;
  std::u16string Mascara;  // the layout of type 26, in the masked-edit language
  // The field's accessible name; empty: the label before the control names it.
  std::u16string NomeAcessivel;
};

}  // namespace delvorin
