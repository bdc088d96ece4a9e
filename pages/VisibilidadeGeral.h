#pragma once
// Which options of the Geral page are shown for the type chosen in its type list: only those
// that matter for that type. Every control not listed here stays visible, labels included.
#include "pages/ModeloGeral.h"

namespace delvorin {

struct RegraVisibilidade {
  FilhoGeral filho;
  bool (*visivel)(int tipo);  // tipo: the selected index of Combo1, -1 when none is chosen
};

inline constexpr RegraVisibilidade kRegrasVisibilidade[] = {
    {FilhoGeral::chkAspas, [](int t) { return t == 4 || t == 5 || t == 6 || t == 7 || t == 12; }},
    {FilhoGeral::chkTC_Trim, [](int t) { return t == 4 || t == 5 || t == 6 || t == 7 || t == 12; }},
    {FilhoGeral::txtMaxLength, [](int t) { return t < 8 || t == 12; }},
    {FilhoGeral::txtPasswordChar, [](int t) { return t >= 1 && t <= 4; }},
    {FilhoGeral::chkMSGcpf, [](int t) { return t == 9 || t == 10 || t == 13 || t == 14; }},
    {FilhoGeral::chkTravaCpf, [](int t) { return t == 9 || t == 10 || t == 13 || t == 14; }},
    {FilhoGeral::txtDigitos, [](int t) { return t == 0 || t == 1; }},
    {FilhoGeral::chkNegativo, [](int t) { return t >= 0 && t <= 3; }},
    {FilhoGeral::chkUsarp, [](int t) { return t == 0; }},
    {FilhoGeral::chkCnpjAlfanumerico, [](int t) { return t == 10; }},
};

}  // namespace delvorin
