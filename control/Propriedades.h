#pragma once
// The dispatch interface _Delvorin described once: every property with its type, dispatch
// id, help string, where its value is held, whether it opens the Geral page, and how it is
// persisted. The type library check, the property page and persistence are driven by it.
#include <array>
#include <cstdint>
#include <string_view>

namespace delvorin {

enum class VarType : uint8_t;

// In slot order of the interface.
enum class Propriedade : uint8_t {
  Alignment, BackColor, BorderStyle, Enabled, Font, ForeColor, Locked, MaxLength, Text, Appearance,
  Tipo, Negativo, TravaCpf, Digitos, MSGcpf, PasswordChar, MouseIcon, MousePointer, Aspas, TC_Trim,
  Usar_Enter, usar_parenteses, CnpjAlfanumerico,
};
inline constexpr int kNumeroPropriedades = 23;
// _Delvorin (1.0) holds the first 22 in its slots, then Atualiza; _Delvorin11 (1.1) holds all of
// _Delvorin's members in the same order followed by the properties added since.
inline constexpr int kNumeroPropriedades10 = 22;

enum class TipoPropriedade : uint8_t {
  Inteiro16,  // 16-bit integer
  Cor,        // 32-bit OLE colour
  Booleano,   // 16-bit automation boolean
  Fonte,      // font object
  Inteiro32,  // 32-bit signed integer
  Texto,      // string
  Byte,       // unsigned 8-bit
  Figura,     // picture object
};

enum class Detentor : uint8_t { EditBox, Controle };

// Default handed to the property bag with each key.
enum class PadraoPersistido : uint8_t {
  Inteiro16,     // a 16-bit integer (valorPadrao)
  Inteiro32,     // a 32-bit integer (valorPadrao)
  Booleano,      // an automation boolean (valorPadrao)
  TextoVazio,    // the empty string
  FonteAmbiente, // the container's ambient font
  ObjetoVazio,   // an empty object reference
};

struct DescricaoPropriedade {
  Propriedade id;
  std::u16string_view nome;
  TipoPropriedade tipo;
  int32_t dispid;
  std::u16string_view ajuda;  // empty: no help string
  Detentor detentor;
  bool abreGeral;  // the host's property browser opens the Geral page for it
  PadraoPersistido padrao;
  int32_t valorPadrao;
};

inline constexpr int32_t kDispidText = 0;

inline constexpr std::array<DescricaoPropriedade, kNumeroPropriedades> kPropriedades{{
    {Propriedade::Alignment, u"Alignment", TipoPropriedade::Inteiro16, 0x68030014, u"", Detentor::EditBox, true, PadraoPersistido::Inteiro16, 0},
    {Propriedade::BackColor, u"BackColor", TipoPropriedade::Cor, 0x68030013, u"", Detentor::EditBox, false, PadraoPersistido::Inteiro32, static_cast<int32_t>(0x80000005)},
    {Propriedade::BorderStyle, u"BorderStyle", TipoPropriedade::Inteiro16, 0x68030012, u"", Detentor::EditBox, true, PadraoPersistido::Inteiro16, 1},
    {Propriedade::Enabled, u"Enabled", TipoPropriedade::Booleano, 0x68030011, u"", Detentor::EditBox, true, PadraoPersistido::Booleano, -1},
    {Propriedade::Font, u"Font", TipoPropriedade::Fonte, 0x68030010, u"", Detentor::EditBox, false, PadraoPersistido::FonteAmbiente, 0},
    {Propriedade::ForeColor, u"ForeColor", TipoPropriedade::Cor, 0x6803000f, u"", Detentor::EditBox, false, PadraoPersistido::Inteiro32, static_cast<int32_t>(0x80000008)},
    {Propriedade::Locked, u"Locked", TipoPropriedade::Booleano, 0x6803000e, u"", Detentor::EditBox, true, PadraoPersistido::Booleano, 0},
    {Propriedade::MaxLength, u"MaxLength", TipoPropriedade::Inteiro32, 0x6803000d, u"", Detentor::EditBox, true, PadraoPersistido::Inteiro16, 0},
    {Propriedade::Text, u"Text", TipoPropriedade::Texto, kDispidText, u"", Detentor::EditBox, true, PadraoPersistido::TextoVazio, 0},
    {Propriedade::Appearance, u"Appearance", TipoPropriedade::Inteiro16, 0x6803000c, u"", Detentor::EditBox, true, PadraoPersistido::Inteiro16, 1},
    {Propriedade::Tipo, u"Tipo", TipoPropriedade::Byte, 0x6803000b, u"Tipo de dados 0 a 14", Detentor::Controle, true, PadraoPersistido::Inteiro16, 4},
    {Propriedade::Negativo, u"Negativo", TipoPropriedade::Booleano, 0x6803000a, u"Permitir tipoas 0,1,2,3  negativos", Detentor::Controle, true, PadraoPersistido::Inteiro16, 0},
    {Propriedade::TravaCpf, u"TravaCpf", TipoPropriedade::Booleano, 0x68030009, u"NÃO permitir valores inválidos para CPF/CNPJ/PIS/Cartão", Detentor::Controle, true, PadraoPersistido::Inteiro16, 0},
    {Propriedade::Digitos, u"Digitos", TipoPropriedade::Byte, 0x68030008, u"Dígitos após a vírgula (moeda)", Detentor::Controle, true, PadraoPersistido::Inteiro16, 2},
    {Propriedade::MSGcpf, u"MSGcpf", TipoPropriedade::Booleano, 0x68030007, u"Mensagem de CPF/CNPJ/PIS/Cartão inválidos", Detentor::Controle, true, PadraoPersistido::Inteiro16, 1},
    {Propriedade::PasswordChar, u"PasswordChar", TipoPropriedade::Texto, 0x68030006, u"", Detentor::EditBox, true, PadraoPersistido::TextoVazio, 0},
    {Propriedade::MouseIcon, u"MouseIcon", TipoPropriedade::Figura, 0x68030005, u"", Detentor::EditBox, false, PadraoPersistido::ObjetoVazio, 0},
    {Propriedade::MousePointer, u"MousePointer", TipoPropriedade::Inteiro16, 0x68030004, u"", Detentor::EditBox, true, PadraoPersistido::Inteiro16, 0},
    {Propriedade::Aspas, u"Aspas", TipoPropriedade::Booleano, 0x68030003, u"Troca aspas simples (') por chr(180)", Detentor::Controle, true, PadraoPersistido::Inteiro16, 0},
    {Propriedade::TC_Trim, u"TC_Trim", TipoPropriedade::Booleano, 0x68030002, u"Retira espaços no início e final (tipos 4,5,6,7 e 12)", Detentor::Controle, true, PadraoPersistido::Inteiro16, 0},
    {Propriedade::Usar_Enter, u"Usar_Enter", TipoPropriedade::Booleano, 0x68030001, u"Usar tecla enter para mudar de campo. ( coloque 'false' para usar o evento 'tecla enter'", Detentor::Controle, true, PadraoPersistido::Inteiro16, 1},
    {Propriedade::usar_parenteses, u"usar_parenteses", TipoPropriedade::Booleano, 0x68030000, u"Usar parêntese em moeda qd negativo", Detentor::Controle, false, PadraoPersistido::Inteiro16, 1},
    {Propriedade::CnpjAlfanumerico, u"CnpjAlfanumerico", TipoPropriedade::Booleano, 0x68030015, u"Aceitar CNPJ alfanumérico (letras nas 12 primeiras posições)", Detentor::Controle, true, PadraoPersistido::Booleano, -1},
}};

inline constexpr const DescricaoPropriedade& Descricao(Propriedade p) {
  return kPropriedades[static_cast<size_t>(p)];
}

// The property of that exact name, or nullptr.
const DescricaoPropriedade* ProcuraPropriedade(std::u16string_view nome);

// The variant type a property's value travels as (colours as 32-bit integers).
VarType TipoDoValor(TipoPropriedade tipo);

// The labels of the field types 0 to 14, as the type list shows them.
inline constexpr std::array<std::u16string_view, 15> kRotulosTipo{
    u"0 - Moeda com Máscara", u"1 - Moeda sem Máscara", u"2 - Número Duplo ( com vírgula)", u"3 - Número",
    u"4 - Texto", u"5 - Texto ( Letras Iniciais Maiúsculas)", u"6 - Texto - MAIÚCULAS", u"7 - Texto - Minúsculas",
    u"8 - CEP", u"9 - CPF", u"10 - CNPJ", u"11 - Número extenso", u"12 - Texto ( Primeira letra Maiúcula)",
    u"13 - PIS", u"14 - Cartão de Crédito",
};

// The method Atualiza.
struct DescricaoMetodo {
  std::u16string_view nome;
  int32_t dispid;
  std::u16string_view ajuda;
};
inline constexpr DescricaoMetodo kAtualiza{u"Atualiza", 0x60030025, u"Atualizar"};

// The event interface __Delvorin; every argument is passed by reference.
enum class TipoArgumento : uint8_t { Inteiro16, Simples };
struct ArgumentoEvento {
  std::u16string_view nome;
  TipoArgumento tipo;
};
struct DescricaoEvento {
  std::u16string_view nome;
  int32_t dispid;
  std::array<ArgumentoEvento, 4> argumentos;
  int numeroArgumentos;
};
inline constexpr std::array<DescricaoEvento, 5> kEventos{{
    {u"MouseMove", 1, {{{u"Button", TipoArgumento::Inteiro16}, {u"Shift", TipoArgumento::Inteiro16}, {u"X", TipoArgumento::Simples}, {u"Y", TipoArgumento::Simples}}}, 4},
    {u"Change", 2, {}, 0},
    {u"KeyDown", 3, {{{u"KeyCode", TipoArgumento::Inteiro16}, {u"Shift", TipoArgumento::Inteiro16}}}, 2},
    {u"KeyPress", 4, {{{u"KeyAscii", TipoArgumento::Inteiro16}}}, 1},
    {u"TeclaEnter", 5, {}, 0},
}};

}  // namespace delvorin
