#pragma once
// Identifiers of the type library, the interfaces and the class (the same as in Palvor.idl).
#include <windows.h>

namespace delvorin::ocx {

inline constexpr GUID kLibid = {0xae7c7603, 0xde7a, 0x4bfb, {0xbe, 0xb3, 0xb5, 0xf4, 0x6d, 0x42, 0xe2, 0x18}};
inline constexpr GUID kIid_Delvorin = {0xc5fc60ca, 0xb5a8, 0x4882, {0x96, 0x63, 0x6e, 0x2b, 0x6b, 0x37, 0x09, 0xdd}};
inline constexpr GUID kDiid__Delvorin = {0xc4b24801, 0x386d, 0x41e3, {0xbe, 0x86, 0xe4, 0x57, 0x15, 0xaa, 0x76, 0xe3}};
inline constexpr GUID kClsidDelvorin = {0x272e3603, 0xe813, 0x4340, {0x82, 0xcd, 0x0b, 0xa0, 0x62, 0x28, 0xac, 0x47}};

inline constexpr const wchar_t* kTextoClsid = L"{272E3603-E813-4340-82CD-0BA06228AC47}";
inline constexpr const wchar_t* kTextoLibid = L"{AE7C7603-DE7A-4BFB-BEB3-B5F46D42E218}";
inline constexpr const wchar_t* kProgId = L"Delvorin2.Delvorin";
inline constexpr const wchar_t* kProgIdVersao = L"Delvorin2.Delvorin.1";

}  // namespace delvorin::ocx
