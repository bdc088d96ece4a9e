#pragma once
// Checks of the registration form's fields: telephone, date, time, vehicle plate, voter title,
// driving licence, RENAVAM, bank and collection slips, and the CNJ process number. Each takes
// the field's characters without the layout's separators (digits, and capital letters where
// the layout has letters); any other character, or any other length, makes the value invalid.
// Pure functions: no state, no allocation (LinhaDigitavel allocates its result only).
#include <string>
#include <string_view>

namespace delvorin {

// 10 digits (area code, then a fixed line of 8 digits starting with 2 to 5) or 11 digits
// (area code, then a mobile of 9 digits starting with 9), the area code being one of the 67 in
// use; or 11 digits 0300, 0500, 0800 or 0900 followed by 7 digits.
bool ValidaTelefone(std::u16string_view digits);

// 8 digits DDMMAAAA, a real date of the Gregorian calendar from 1753 to 9999. On success the
// parts are written to day, month and year; on failure they are left as they were.
bool ValidaData(std::u16string_view digits, int& day, int& month, int& year);

// 4 digits HHMM from 0000 to 2359. On success the parts are written; on failure they are left
// as they were.
bool ValidaHora(std::u16string_view digits, int& hour, int& minute);

// 7 characters: three capital letters, a digit, a capital letter or a digit, two digits (the
// old plate ABC1234 and the Mercosul plate ABC1D23).
bool ValidaPlaca(std::u16string_view characters);

// 12 digits: an 8-digit sequence, the state code 01 to 28, then two modulus-11 check digits.
bool ValidaTituloEleitor(std::u16string_view digits);

// 11 digits: a 9-digit base and two modulus-11 check digits; a number of one repeated digit is
// invalid.
bool ValidaCnh(std::u16string_view digits);

// 11 digits, the last a modulus-11 check digit; a legacy number of 9 digits is checked as the
// 11-digit number it becomes with "00" before it. A number of one repeated digit is invalid.
bool ValidaRenavam(std::u16string_view digits);

// The typeable line of a bank slip (47 digits) or of a collection slip (48 digits starting with
// 8): every field's check digit and the general check digit of the barcode the line stands for.
bool ValidaBoleto(std::u16string_view digits);

// The typeable line of a 44-digit barcode, a collection slip's when it starts with 8 and a
// bank slip's otherwise, with the line's own check digits computed; the barcode's general check
// digit is carried over as it is, so a barcode with a wrong one gives a line ValidaBoleto
// refuses. Empty when the barcode is not 44 digits, or when it is a collection slip's whose
// third digit names no modulus (6 to 9).
std::u16string LinhaDigitavel(std::u16string_view barcode);

// 20 digits NNNNNNN DD AAAA J TR OOOO (the CNJ numbering): DD the ISO 7064 MOD 97-10 check
// digits of the other 18, J the judicial branch 1 to 9.
bool ValidaProcessoJudicial(std::u16string_view digits);

}  // namespace delvorin
