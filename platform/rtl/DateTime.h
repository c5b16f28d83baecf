// The platform's date-time value: an OLE date, days since 1899-12-30 with the time of day
// as the fraction. Its text form in this program is "yyyy-mm-dd hh:nn:ss".
// Values and pure functions; the clock is read through the seams.
#pragma once
#include <string>

using TDateTime = double;

namespace dt {

struct Parts {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0, msec = 0;
};

TDateTime Now();   // local time, through the clock seam
TDateTime Date();  // today at midnight
TDateTime Encode(const Parts& p);
TDateTime EncodeDate(int year, int month, int day);
Parts Decode(TDateTime t);
// Tokens: yyyy, yy, mm, m, dd, d, hh, h, nn, n, ss, s, zzz; other characters are copied.
std::string FormatDateTime(const std::string& format, TDateTime t);
std::string DateTimeToStr(TDateTime t);  // "yyyy-mm-dd hh:nn:ss"
std::string DateToStr(TDateTime t);      // "yyyy-mm-dd"
// Parses "yyyy-mm-dd", "yyyy-mm-dd hh:nn[:ss]" (also with "/" between date parts);
// returns false on anything else or on an impossible date.
bool TryStrToDateTime(const std::string& text, TDateTime& out);
int DaysBetween(TDateTime a, TDateTime b);  // whole days, never negative
bool IsValidDate(int year, int month, int day);

}  // namespace dt
