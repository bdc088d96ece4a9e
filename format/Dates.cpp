#include "format/Dates.h"

#include <cmath>

namespace delvorin {
namespace {

// Days from 1 March of year 0 of the proleptic Gregorian calendar, by the usual era arithmetic.
constexpr int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

constexpr int64_t kEpoch = DaysFromCivil(1899, 12, 30);

}  // namespace

bool IsRealDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

double SerialOfDate(int year, int month, int day) { return static_cast<double>(DaysFromCivil(year, month, day) - kEpoch); }

double SerialOfTime(int hour, int minute, int second) { return (hour * 3600.0 + minute * 60.0 + second) / 86400.0; }

bool DateOfSerial(double serial, CivilDate& date, int& hour, int& minute, int& second) {
  // Years 100 to 9999, as automation dates go.
  if (!(serial >= -657434.0 && serial < 2958466.0)) return false;
  // Before the epoch the fraction still counts forward from the day's midnight: -1.25 is
  // 29 December 1899, 06:00.
  double days = std::trunc(serial);
  double fraction = std::fabs(serial - days);
  int64_t seconds = std::llround(fraction * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += serial < 0 ? -1 : 1;
  }
  CivilFromDays(static_cast<int64_t>(days) + kEpoch, date.year, date.month, date.day);
  hour = static_cast<int>(seconds / 3600);
  minute = static_cast<int>(seconds / 60 % 60);
  second = static_cast<int>(seconds % 60);
  return true;
}

}  // namespace delvorin
