#include "platform/rtl/TimingMarks.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

namespace timing {
namespace {

double FileTimeMs(const FILETIME& t) {
  ULARGE_INTEGER u;
  u.LowPart = t.dwLowDateTime;
  u.HighPart = t.dwHighDateTime;
  return u.QuadPart / 10000.0;
}

struct Sink {
  std::string path;  // empty: marks are off
  double created = 0;
  std::mutex lock;

  Sink() {
    char p[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("KARV_TIMING", p, sizeof p);
    if (n == 0 || n >= sizeof p) return;
    path = p;
    FILETIME c, exited, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &c, &exited, &kernel, &user)) created = FileTimeMs(c);
  }
};

// Read once: a start is measured as a whole or not at all.
Sink& TheSink() {
  static Sink sink;
  return sink;
}

double NowMs() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return FileTimeMs(now);
}

void Write(const std::string& line) {
  Sink& s = TheSink();
  std::lock_guard<std::mutex> hold(s.lock);
  if (FILE* f = std::fopen(s.path.c_str(), "a")) {
    std::fprintf(f, "%8.1f %s\n", NowMs() - s.created, line.c_str());
    std::fclose(f);
  }
}

}  // namespace

bool Enabled() { return !TheSink().path.empty(); }

void Mark(const std::string& what) {
  if (Enabled()) Write(what);
}

Span::Span(std::string what) : what_(std::move(what)) {
  if (Enabled()) start_ = NowMs();
}

Span::~Span() {
  if (!Enabled()) return;
  char length[32];
  std::snprintf(length, sizeof length, " (%.1f ms)", NowMs() - start_);
  Write(what_ + length);
}

}  // namespace timing
