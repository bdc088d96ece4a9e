#pragma once
// Identifiers of the type library, the interfaces, the control class and its two property
// pages (the same as in Palvor.idl).
#include <windows.h>

namespace delvorin::ocx {

inline constexpr GUID kLibid = {0xae7c7603, 0xde7a, 0x4bfb, {0xbe, 0xb3, 0xb5, 0xf4, 0x6d, 0x42, 0xe2, 0x18}};
// The library's version: 1.1 added _Delvorin11 and made it the class's default interface, 1.2
// did the same with _Delvorin12.
inline constexpr WORD kVersionMajor = 1, kVersionMinor = 2;
inline constexpr GUID kIid_Delvorin = {0xc5fc60ca, 0xb5a8, 0x4882, {0x96, 0x63, 0x6e, 0x2b, 0x6b, 0x37, 0x09, 0xdd}};
inline constexpr GUID kIid_Delvorin11 = {0xa6ec96b6, 0x7585, 0x4877, {0x92, 0xa3, 0xb6, 0xe1, 0x91, 0xe7, 0xee, 0x7d}};
inline constexpr GUID kIid_Delvorin12 = {0xfcce0dd2, 0x2bf3, 0x4634, {0x88, 0xf1, 0x73, 0x09, 0x02, 0x0b, 0xfc, 0x22}};
inline constexpr GUID kDiid__Delvorin = {0xc4b24801, 0x386d, 0x41e3, {0xbe, 0x86, 0xe4, 0x57, 0x15, 0xaa, 0x76, 0xe3}};
inline constexpr GUID kClsidDelvorin = {0x272e3603, 0xe813, 0x4340, {0x82, 0xcd, 0x0b, 0xa0, 0x62, 0x28, 0xac, 0x47}};

// The property pages Geral and Sobre, and their dispatch interfaces (without members).
inline constexpr GUID kDiid_Geral = {0xa3c284fa, 0x8ee6, 0x4d93, {0xb3, 0xee, 0x7a, 0x53, 0xae, 0x3c, 0x50, 0x68}};
inline constexpr GUID kDiid_Sobre = {0xa64f10e8, 0xb7e6, 0x4832, {0xab, 0x09, 0x83, 0xf1, 0x75, 0x33, 0x2c, 0x3f}};
inline constexpr GUID kClsidGeral = {0xa70a8804, 0x90bf, 0x40b2, {0x8c, 0x52, 0x2d, 0xf5, 0xb1, 0xc9, 0x03, 0x4d}};
inline constexpr GUID kClsidSobre = {0x3f6b0d93, 0xdeed, 0x47fd, {0x90, 0xfb, 0x6f, 0x57, 0x00, 0x60, 0xca, 0xe9}};

inline constexpr const wchar_t* kClsidText = L"{272E3603-E813-4340-82CD-0BA06228AC47}";
inline constexpr const wchar_t* kClsidGeralText = L"{A70A8804-90BF-40B2-8C52-2DF5B1C9034D}";
inline constexpr const wchar_t* kClsidSobreText = L"{3F6B0D93-DEED-47FD-90FB-6F570060CAE9}";
inline constexpr const wchar_t* kLibidText = L"{AE7C7603-DE7A-4BFB-BEB3-B5F46D42E218}";
inline constexpr const wchar_t* kVersionText = L"1.2";
inline constexpr const wchar_t* kProgId = L"Delvorin2.Delvorin";
inline constexpr const wchar_t* kVersionedProgId = L"Delvorin2.Delvorin.1";

}  // namespace delvorin::ocx
