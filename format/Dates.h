#pragma once
// Dates and times as automation holds them: a count of days since 30 December 1899, the time of
// day its fraction. Pure functions over the Gregorian calendar.
#include <cstdint>

namespace delvorin {

struct CivilDate {
  int year = 0, month = 0, day = 0;
};

// Whether the day exists in the Gregorian calendar (any year from 1 to 9999).
bool IsRealDate(int year, int month, int day);
// The automation date of a day (its midnight).
double SerialOfDate(int year, int month, int day);
// The automation date of a time of day (on 30 December 1899).
double SerialOfTime(int hour, int minute, int second = 0);
// The day and the time of an automation date, the time rounded to the second as automation
// rounds it; false for a value outside years 100 to 9999 or not a number.
bool DateOfSerial(double serial, CivilDate& date, int& hour, int& minute, int& second);

}  // namespace delvorin
