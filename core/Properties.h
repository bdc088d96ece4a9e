#pragma once
// The dispatch interface _Delvorin described once: every property with its type, dispatch
// id, help string, where its value is held, whether it opens the Geral page, and how it is
// persisted. The type library check, the property page and persistence are driven by it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace delvorin {

enum class VarType : uint8_t;

// In slot order of the interface.
enum class Property : uint8_t {
  Alignment, BackColor, BorderStyle, Enabled, Font, ForeColor, Locked, MaxLength, Text, Appearance,
  Tipo, Negativo, TravaCpf, Digitos, MSGcpf, PasswordChar, MouseIcon, MousePointer, Aspas, TC_Trim,
  Usar_Enter, usar_parenteses, CnpjAlfanumerico, UF, Valor, Valido, Mascara, NomeAcessivel,
};
inline constexpr int kPropertyCount = 28;
// _Delvorin (1.0) holds the first 22 in its slots, then Atualiza; _Delvorin11 (1.1) holds all of
// _Delvorin's members in the same order followed by the properties added since.
inline constexpr int kPropertyCount10 = 22;
// _Delvorin11 (1.1) holds 23; _Delvorin12 (1.2) all of them.
inline constexpr int kPropertyCount11 = 23;

enum class PropertyType : uint8_t {
  Int16,    // 16-bit integer
  Colour,   // 32-bit OLE colour
  Boolean,  // 16-bit automation boolean
  Font,     // font object
  Int32,    // 32-bit signed integer
  Text,     // string
  Byte,     // unsigned 8-bit
  Picture,  // picture object
  Variant,  // any automation value
};

enum class Holder : uint8_t { EditBox, Control };

// Default handed to the property bag with each key.
enum class StoredDefault : uint8_t {
  Int16,        // a 16-bit integer (defaultValue)
  Int32,        // a 32-bit integer (defaultValue)
  Boolean,      // an automation boolean (defaultValue)
  EmptyText,    // the empty string
  AmbientFont,  // the container's ambient font
  EmptyObject,  // an empty object reference
};

struct PropertyDescription {
  Property id;
  std::u16string_view name;
  PropertyType type;
  int32_t dispid;
  std::u16string_view help;  // empty: no help string
  Holder holder;
  bool opensGeral;  // the host's property browser opens the Geral page for it
  StoredDefault storedDefault;
  int32_t defaultValue;
  bool persisted = true;  // kept in the property bag, the stream and the storage
  bool readOnly = false;  // a write fails with "Property is read-only"
};

inline constexpr int32_t kDispidText = 0;

inline constexpr std::array<PropertyDescription, kPropertyCount> kProperties{{
    {Property::Alignment, u"Alignment", PropertyType::Int16, 0x68030014, u"", Holder::EditBox, true, StoredDefault::Int16, 0},
    {Property::BackColor, u"BackColor", PropertyType::Colour, 0x68030013, u"", Holder::EditBox, false, StoredDefault::Int32, static_cast<int32_t>(0x80000005)},
    {Property::BorderStyle, u"BorderStyle", PropertyType::Int16, 0x68030012, u"", Holder::EditBox, true, StoredDefault::Int16, 1},
    {Property::Enabled, u"Enabled", PropertyType::Boolean, 0x68030011, u"", Holder::EditBox, true, StoredDefault::Boolean, -1},
    {Property::Font, u"Font", PropertyType::Font, 0x68030010, u"", Holder::EditBox, false, StoredDefault::AmbientFont, 0},
    {Property::ForeColor, u"ForeColor", PropertyType::Colour, 0x6803000f, u"", Holder::EditBox, false, StoredDefault::Int32, static_cast<int32_t>(0x80000008)},
    {Property::Locked, u"Locked", PropertyType::Boolean, 0x6803000e, u"", Holder::EditBox, true, StoredDefault::Boolean, 0},
    {Property::MaxLength, u"MaxLength", PropertyType::Int32, 0x6803000d, u"", Holder::EditBox, true, StoredDefault::Int16, 0},
    {Property::Text, u"Text", PropertyType::Text, kDispidText, u"", Holder::EditBox, true, StoredDefault::EmptyText, 0},
    {Property::Appearance, u"Appearance", PropertyType::Int16, 0x6803000c, u"", Holder::EditBox, true, StoredDefault::Int16, 1},
    {Property::Tipo, u"Tipo", PropertyType::Byte, 0x6803000b, u"Tipo de dados 0 a 14", Holder::Control, true, StoredDefault::Int16, 4},
    {Property::Negativo, u"Negativo", PropertyType::Boolean, 0x6803000a, u"Permitir tipoas 0,1,2,3  negativos", Holder::Control, true, StoredDefault::Int16, 0},
    {Property::TravaCpf, u"TravaCpf", PropertyType::Boolean, 0x68030009, u"NÃO permitir valores inválidos para CPF/CNPJ/PIS/Cartão", Holder::Control, true, StoredDefault::Int16, 0},
    {Property::Digitos, u"Digitos", PropertyType::Byte, 0x68030008, u"Dígitos após a vírgula (moeda)", Holder::Control, true, StoredDefault::Int16, 2},
    {Property::MSGcpf, u"MSGcpf", PropertyType::Boolean, 0x68030007, u"Mensagem de CPF/CNPJ/PIS/Cartão inválidos", Holder::Control, true, StoredDefault::Int16, 1},
    {Property::PasswordChar, u"PasswordChar", PropertyType::Text, 0x68030006, u"", Holder::EditBox, true, StoredDefault::EmptyText, 0},
    {Property::MouseIcon, u"MouseIcon", PropertyType::Picture, 0x68030005, u"", Holder::EditBox, false, StoredDefault::EmptyObject, 0},
    {Property::MousePointer, u"MousePointer", PropertyType::Int16, 0x68030004, u"", Holder::EditBox, true, StoredDefault::Int16, 0},
    {Property::Aspas, u"Aspas", PropertyType::Boolean, 0x68030003, u"Troca aspas simples (') por chr(180)", Holder::Control, true, StoredDefault::Int16, 0},
    {Property::TC_Trim, u"TC_Trim", PropertyType::Boolean, 0x68030002, u"Retira espaços no início e final (tipos 4,5,6,7 e 12)", Holder::Control, true, StoredDefault::Int16, 0},
    {Property::Usar_Enter, u"Usar_Enter", PropertyType::Boolean, 0x68030001, u"Usar tecla enter para mudar de campo. ( coloque 'false' para usar o evento 'tecla enter'", Holder::Control, true, StoredDefault::Int16, 1},
    {Property::usar_parenteses, u"usar_parenteses", PropertyType::Boolean, 0x68030000, u"Usar parêntese em moeda qd negativo", Holder::Control, false, StoredDefault::Int16, 1},
    {Property::CnpjAlfanumerico, u"CnpjAlfanumerico", PropertyType::Boolean, 0x68030015, u"Aceitar CNPJ alfanumérico (letras nas 12 primeiras posições)", Holder::Control, true, StoredDefault::Boolean, -1},
    // 1.2
    {Property::UF, u"UF", PropertyType::Text, 0x68030016, u"Sigla do estado da Inscrição Estadual (tipo 25)", Holder::Control, true, StoredDefault::EmptyText, 0},
    {Property::Valor, u"Valor", PropertyType::Variant, 0x68030017, u"Valor do campo: moeda, número, data ou os caracteres sem a máscara", Holder::Control, false, StoredDefault::EmptyText, 0, false},
    {Property::Valido, u"Valido", PropertyType::Boolean, 0x68030018, u"Verdadeiro quando o texto passa na verificação do tipo", Holder::Control, false, StoredDefault::Boolean, 0, false, true},
    {Property::Mascara, u"Mascara", PropertyType::Text, 0x68030019, u"Máscara do tipo 26: 0 9 # L ? & C A a, < > |, \\ e os separadores . , : / $", Holder::Control, true, StoredDefault::EmptyText, 0},
    {Property::NomeAcessivel, u"NomeAcessivel", PropertyType::Text, 0x6803001a, u"Nome do campo para leitores de tela (vazio: o rótulo antes do controle)", Holder::Control, false, StoredDefault::EmptyText, 0},
}};

inline constexpr const PropertyDescription& DescriptionOf(Property p) {
  return kProperties[static_cast<size_t>(p)];
}

// The property of that exact name, or nullptr.
const PropertyDescription* FindProperty(std::u16string_view name);

// The variant type a property's value travels as (colours as 32-bit integers).
VarType ValueTypeOf(PropertyType type);

// The labels of the field types 0 to 25, as the type list shows them.
inline constexpr std::array<std::u16string_view, 27> kTipoLabels{
    u"0 - Moeda com Máscara", u"1 - Moeda sem Máscara", u"2 - Número Duplo ( com vírgula)", u"3 - Número",
    u"4 - Texto", u"5 - Texto ( Letras Iniciais Maiúsculas)", u"6 - Texto - MAIÚCULAS", u"7 - Texto - Minúsculas",
    u"8 - CEP", u"9 - CPF", u"10 - CNPJ", u"11 - Número extenso", u"12 - Texto ( Primeira letra Maiúcula)",
    u"13 - PIS", u"14 - Cartão de Crédito", u"15 - CPF ou CNPJ", u"16 - Telefone", u"17 - Data", u"18 - Hora",
    u"19 - Placa", u"20 - Título de Eleitor", u"21 - CNH", u"22 - RENAVAM", u"23 - Boleto", u"24 - Processo Judicial",
    u"25 - Inscrição Estadual", u"26 - Máscara",
};
// What each type holds, as a screen reader describes the field.
inline constexpr std::array<std::u16string_view, 27> kTipoKinds{
    u"Moeda", u"Moeda", u"Número com vírgula", u"Número", u"Texto", u"Texto (Iniciais Maiúsculas)", u"Texto (MAIÚSCULAS)",
    u"Texto (minúsculas)", u"CEP", u"CPF", u"CNPJ", u"Valor por extenso", u"Texto (Primeira letra maiúscula)", u"PIS",
    u"Cartão de Crédito", u"CPF ou CNPJ", u"Telefone", u"Data (DD/MM/AAAA)", u"Hora (HH:MM)", u"Placa",
    u"Título de Eleitor", u"CNH", u"RENAVAM", u"Boleto", u"Processo Judicial", u"Inscrição Estadual", u"Máscara",
};
// The labels of the types up to 14, which the 1.0 and 1.1 type list shows.
inline constexpr size_t kTipoLabelCount11 = 15;

// The 27 states of the UF property, in the order of the page's list (after its empty entry).
inline constexpr std::array<std::u16string_view, 27> kUfs{
    u"AC", u"AL", u"AP", u"AM", u"BA", u"CE", u"DF", u"ES", u"GO", u"MA", u"MT", u"MS", u"MG", u"PA",
    u"PB", u"PR", u"PE", u"PI", u"RJ", u"RN", u"RS", u"RO", u"RR", u"SC", u"SP", u"SE", u"TO"};

// Whether a UF value is empty or names one of the 27 states (in any case); its capitals in uf.
bool ReadUf(std::u16string_view value, std::u16string& uf);

// The method Atualiza.
struct MethodDescription {
  std::u16string_view name;
  int32_t dispid;
  std::u16string_view help;
};
inline constexpr MethodDescription kAtualiza{u"Atualiza", 0x60030025, u"Atualizar"};

// The event interface __Delvorin; every argument is passed by reference.
enum class ArgumentType : uint8_t { Int16, Single };
struct EventArgument {
  std::u16string_view name;
  ArgumentType type;
};
struct EventDescription {
  std::u16string_view name;
  int32_t dispid;
  std::array<EventArgument, 4> arguments;
  int argumentCount;
};
inline constexpr std::array<EventDescription, 5> kEvents{{
    {u"MouseMove", 1, {{{u"Button", ArgumentType::Int16}, {u"Shift", ArgumentType::Int16}, {u"X", ArgumentType::Single}, {u"Y", ArgumentType::Single}}}, 4},
    {u"Change", 2, {}, 0},
    {u"KeyDown", 3, {{{u"KeyCode", ArgumentType::Int16}, {u"Shift", ArgumentType::Int16}}}, 2},
    {u"KeyPress", 4, {{{u"KeyAscii", ArgumentType::Int16}}}, 1},
    {u"TeclaEnter", 5, {}, 0},
}};

}  // namespace delvorin
