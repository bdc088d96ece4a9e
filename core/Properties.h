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
enum class Property : uint8_t {
  Alignment, BackColor, BorderStyle, Enabled, Font, ForeColor, Locked, MaxLength, Text, Appearance,
  Tipo, Negativo, TravaCpf, Digitos, MSGcpf, PasswordChar, MouseIcon, MousePointer, Aspas, TC_Trim,
  Usar_Enter, usar_parenteses, CnpjAlfanumerico,
};
inline constexpr int kNumeroPropriedades = 23;
// _Delvorin (1.0) holds the first 22 in its slots, then Atualiza; _Delvorin11 (1.1) holds all of
// _Delvorin's members in the same order followed by the properties added since.
inline constexpr int kPropertyCount10 = 22;

enum class PropertyType : uint8_t {
  Inteiro16,  // 16-bit integer
  Cor,        // 32-bit OLE colour
  Booleano,   // 16-bit automation boolean
  Fonte,      // font object
  Inteiro32,  // 32-bit signed integer
  Texto,      // string
  Byte,       // unsigned 8-bit
  Figura,     // picture object
};

enum class Holder : uint8_t { EditBox, Control };

// Default handed to the property bag with each key.
enum class StoredDefault : uint8_t {
  Inteiro16,     // a 16-bit integer (valorPadrao)
  Inteiro32,     // a 32-bit integer (valorPadrao)
  Booleano,      // an automation boolean (valorPadrao)
  TextoVazio,    // the empty string
  FonteAmbiente, // the container's ambient font
  ObjetoVazio,   // an empty object reference
};

struct PropertyDescription {
  Property id;
  std::u16string_view nome;
  PropertyType tipo;
  int32_t dispid;
  std::u16string_view ajuda;  // empty: no help string
  Holder detentor;
  bool abreGeral;  // the host's property browser opens the Geral page for it
  StoredDefault padrao;
  int32_t valorPadrao;
};

inline constexpr int32_t kDispidText = 0;

inline constexpr std::array<PropertyDescription, kNumeroPropriedades> kProperties{{
    {Property::Alignment, u"Alignment", PropertyType::Inteiro16, 0x68030014, u"", Holder::EditBox, true, StoredDefault::Inteiro16, 0},
    {Property::BackColor, u"BackColor", PropertyType::Cor, 0x68030013, u"", Holder::EditBox, false, StoredDefault::Inteiro32, static_cast<int32_t>(0x80000005)},
    {Property::BorderStyle, u"BorderStyle", PropertyType::Inteiro16, 0x68030012, u"", Holder::EditBox, true, StoredDefault::Inteiro16, 1},
    {Property::Enabled, u"Enabled", PropertyType::Booleano, 0x68030011, u"", Holder::EditBox, true, StoredDefault::Booleano, -1},
    {Property::Font, u"Font", PropertyType::Fonte, 0x68030010, u"", Holder::EditBox, false, StoredDefault::FonteAmbiente, 0},
    {Property::ForeColor, u"ForeColor", PropertyType::Cor, 0x6803000f, u"", Holder::EditBox, false, StoredDefault::Inteiro32, static_cast<int32_t>(0x80000008)},
    {Property::Locked, u"Locked", PropertyType::Booleano, 0x6803000e, u"", Holder::EditBox, true, StoredDefault::Booleano, 0},
    {Property::MaxLength, u"MaxLength", PropertyType::Inteiro32, 0x6803000d, u"", Holder::EditBox, true, StoredDefault::Inteiro16, 0},
    {Property::Text, u"Text", PropertyType::Texto, kDispidText, u"", Holder::EditBox, true, StoredDefault::TextoVazio, 0},
    {Property::Appearance, u"Appearance", PropertyType::Inteiro16, 0x6803000c, u"", Holder::EditBox, true, StoredDefault::Inteiro16, 1},
    {Property::Tipo, u"Tipo", PropertyType::Byte, 0x6803000b, u"Tipo de dados 0 a 14", Holder::Control, true, StoredDefault::Inteiro16, 4},
    {Property::Negativo, u"Negativo", PropertyType::Booleano, 0x6803000a, u"Permitir tipoas 0,1,2,3  negativos", Holder::Control, true, StoredDefault::Inteiro16, 0},
    {Property::TravaCpf, u"TravaCpf", PropertyType::Booleano, 0x68030009, u"NÃO permitir valores inválidos para CPF/CNPJ/PIS/Cartão", Holder::Control, true, StoredDefault::Inteiro16, 0},
    {Property::Digitos, u"Digitos", PropertyType::Byte, 0x68030008, u"Dígitos após a vírgula (moeda)", Holder::Control, true, StoredDefault::Inteiro16, 2},
    {Property::MSGcpf, u"MSGcpf", PropertyType::Booleano, 0x68030007, u"Mensagem de CPF/CNPJ/PIS/Cartão inválidos", Holder::Control, true, StoredDefault::Inteiro16, 1},
    {Property::PasswordChar, u"PasswordChar", PropertyType::Texto, 0x68030006, u"", Holder::EditBox, true, StoredDefault::TextoVazio, 0},
    {Property::MouseIcon, u"MouseIcon", PropertyType::Figura, 0x68030005, u"", Holder::EditBox, false, StoredDefault::ObjetoVazio, 0},
    {Property::MousePointer, u"MousePointer", PropertyType::Inteiro16, 0x68030004, u"", Holder::EditBox, true, StoredDefault::Inteiro16, 0},
    {Property::Aspas, u"Aspas", PropertyType::Booleano, 0x68030003, u"Troca aspas simples (') por chr(180)", Holder::Control, true, StoredDefault::Inteiro16, 0},
    {Property::TC_Trim, u"TC_Trim", PropertyType::Booleano, 0x68030002, u"Retira espaços no início e final (tipos 4,5,6,7 e 12)", Holder::Control, true, StoredDefault::Inteiro16, 0},
    {Property::Usar_Enter, u"Usar_Enter", PropertyType::Booleano, 0x68030001, u"Usar tecla enter para mudar de campo. ( coloque 'false' para usar o evento 'tecla enter'", Holder::Control, true, StoredDefault::Inteiro16, 1},
    {Property::usar_parenteses, u"usar_parenteses", PropertyType::Booleano, 0x68030000, u"Usar parêntese em moeda qd negativo", Holder::Control, false, StoredDefault::Inteiro16, 1},
    {Property::CnpjAlfanumerico, u"CnpjAlfanumerico", PropertyType::Booleano, 0x68030015, u"Aceitar CNPJ alfanumérico (letras nas 12 primeiras posições)", Holder::Control, true, StoredDefault::Booleano, -1},
}};

inline constexpr const PropertyDescription& Descricao(Property p) {
  return kProperties[static_cast<size_t>(p)];
}

// The property of that exact name, or nullptr.
const PropertyDescription* ProcuraPropriedade(std::u16string_view nome);

// The variant type a property's value travels as (colours as 32-bit integers).
VarType TipoDoValor(PropertyType tipo);

// The labels of the field types 0 to 14, as the type list shows them.
inline constexpr std::array<std::u16string_view, 15> kRotulosTipo{
    u"0 - Moeda com Máscara", u"1 - Moeda sem Máscara", u"2 - Número Duplo ( com vírgula)", u"3 - Número",
    u"4 - Texto", u"5 - Texto ( Letras Iniciais Maiúsculas)", u"6 - Texto - MAIÚCULAS", u"7 - Texto - Minúsculas",
    u"8 - CEP", u"9 - CPF", u"10 - CNPJ", u"11 - Número extenso", u"12 - Texto ( Primeira letra Maiúcula)",
    u"13 - PIS", u"14 - Cartão de Crédito",
};

// The method Atualiza.
struct MethodDescription {
  std::u16string_view nome;
  int32_t dispid;
  std::u16string_view ajuda;
};
inline constexpr MethodDescription kAtualiza{u"Atualiza", 0x60030025, u"Atualizar"};

// The event interface __Delvorin; every argument is passed by reference.
enum class ArgumentType : uint8_t { Inteiro16, Simples };
struct EventArgument {
  std::u16string_view nome;
  ArgumentType tipo;
};
struct EventDescription {
  std::u16string_view nome;
  int32_t dispid;
  std::array<EventArgument, 4> argumentos;
  int numeroArgumentos;
};
inline constexpr std::array<EventDescription, 5> kEventos{{
    {u"MouseMove", 1, {{{u"Button", ArgumentType::Inteiro16}, {u"Shift", ArgumentType::Inteiro16}, {u"X", ArgumentType::Simples}, {u"Y", ArgumentType::Simples}}}, 4},
    {u"Change", 2, {}, 0},
    {u"KeyDown", 3, {{{u"KeyCode", ArgumentType::Inteiro16}, {u"Shift", ArgumentType::Inteiro16}}}, 2},
    {u"KeyPress", 4, {{{u"KeyAscii", ArgumentType::Inteiro16}}}, 1},
    {u"TeclaEnter", 5, {}, 0},
}};

}  // namespace delvorin
