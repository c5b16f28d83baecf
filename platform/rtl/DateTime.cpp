#include "platform/rtl/DateTime.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

#include "platform/rtl/Seams.h"

namespace dt {

static bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool IsValidDate(int y, int m, int d) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  return d <= days[m - 1] + (m == 2 && IsLeap(y) ? 1 : 0);
}

// Days from 0001-01-01 to the given date (proleptic Gregorian).
static long DayNumber(int y, int m, int d) {
  static const int cum[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  long yy = y - 1;
  long n = yy * 365 + yy / 4 - yy / 100 + yy / 400 + cum[m - 1] + d - 1;
  if (m > 2 && IsLeap(y)) ++n;
  return n;
}

static const long kEpoch = DayNumber(1899, 12, 30);

TDateTime EncodeDate(int y, int m, int d) { return (double)(DayNumber(y, m, d) - kEpoch); }

TDateTime Encode(const Parts& p) {
  double t = (p.hour * 3600000.0 + p.minute * 60000.0 + p.second * 1000.0 + p.msec) / 86400000.0;
  double d = EncodeDate(p.year, p.month, p.day);
  return d >= 0 ? d + t : d - t;
}

// Years 1 to 9999; a value from a received body may be anything, even NaN.
static const double kFirstDay = -693593.0, kPastLastDay = 2958466.0;

Parts Decode(TDateTime t) {
  Parts p;
  // Outside the calendar there is no date to give: the zero date, never a garbage one.
  if (!(t > kFirstDay - 1 && t < kPastLastDay)) return p;
  double frac = std::fabs(t - (long)t);
  long ms = (long)std::llround(frac * 86400000.0);
  long n = (long)(t >= 0 ? (long)t : (long)std::ceil(t)) + kEpoch;
  // A time that rounds up to midnight is the start of the next day; on the calendar's last
  // day there is none, and it stays at its last millisecond.
  if (ms >= 86400000) {
    if (n + 1 < (long)kPastLastDay + kEpoch) {
      ms = 0;
      ++n;
    } else {
      ms = 86399999;
    }
  }
  // Civil-from-days over the proleptic Gregorian calendar.
  long y = n / 365 + 1;
  while (DayNumber((int)y, 1, 1) > n) --y;
  while (DayNumber((int)y + 1, 1, 1) <= n) ++y;
  int m = 1;
  while (m < 12 && DayNumber((int)y, m + 1, 1) <= n) ++m;
  p.year = (int)y;
  p.month = m;
  p.day = (int)(n - DayNumber((int)y, m, 1) + 1);
  p.hour = (int)(ms / 3600000);
  p.minute = (int)(ms / 60000 % 60);
  p.second = (int)(ms / 1000 % 60);
  p.msec = (int)(ms % 1000);
  return p;
}

TDateTime Now() { return seams::Clock().Now(); }
TDateTime Date() { return std::floor(Now()); }

std::string FormatDateTime(const std::string& f, TDateTime t) {
  Parts p = Decode(t);
  std::string r;
  char buf[16];
  auto put = [&](int v, int w) {
    snprintf(buf, sizeof buf, "%0*d", w, v);
    r += buf;
  };
  for (size_t i = 0; i < f.size();) {
    auto starts = [&](const char* tok) { return f.compare(i, strlen(tok), tok) == 0; };
    if (starts("yyyy")) { put(p.year, 4); i += 4; }
    else if (starts("yy")) { put(p.year % 100, 2); i += 2; }
    else if (starts("mm")) { put(p.month, 2); i += 2; }
    else if (starts("m")) { put(p.month, 1); i += 1; }
    else if (starts("dd")) { put(p.day, 2); i += 2; }
    else if (starts("d")) { put(p.day, 1); i += 1; }
    else if (starts("hh")) { put(p.hour, 2); i += 2; }
    else if (starts("h")) { put(p.hour, 1); i += 1; }
    else if (starts("nn")) { put(p.minute, 2); i += 2; }
    else if (starts("n")) { put(p.minute, 1); i += 1; }
    else if (starts("ss")) { put(p.second, 2); i += 2; }
    else if (starts("s")) { put(p.second, 1); i += 1; }
    else if (starts("zzz")) { put(p.msec, 3); i += 3; }
    else r += f[i++];
  }
  return r;
}

std::string DateTimeToStr(TDateTime t) { return FormatDateTime("yyyy-mm-dd hh:nn:ss", t); }
std::string DateToStr(TDateTime t) { return FormatDateTime("yyyy-mm-dd", t); }

bool TryStrToDateTime(const std::string& text, TDateTime& out) {
  Parts p;
  p.year = p.month = p.day = 0;
  char s1 = 0, s2 = 0;
  int consumed = 0;
  if (sscanf(text.c_str(), "%4d%c%2d%c%2d%n", &p.year, &s1, &p.month, &s2, &p.day, &consumed) != 5) return false;
  if (!((s1 == '-' && s2 == '-') || (s1 == '/' && s2 == '/'))) return false;
  if (!IsValidDate(p.year, p.month, p.day)) return false;
  const char* rest = text.c_str() + consumed;
  while (*rest == ' ') ++rest;
  if (*rest) {
    int used = 0;
    int n = sscanf(rest, "%2d:%2d%n:%2d%n", &p.hour, &p.minute, &used, &p.second, &used);
    if (n < 2 || rest[used] != 0) return false;
    if (p.hour > 23 || p.minute > 59 || p.second > 59 || p.hour < 0 || p.minute < 0 || p.second < 0) return false;
  }
  out = Encode(p);
  return true;
}

int DaysBetween(TDateTime a, TDateTime b) { return (int)std::fabs(std::trunc(a - b)); }

}  // namespace dt
