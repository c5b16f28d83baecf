// The reporter of exceptions caught at the system's callbacks; see Exception.h.
#include "platform/rtl/Exception.h"

#include <windows.h>

#include <atomic>

namespace {
std::atomic<TExceptionReporter> g_reporter{nullptr};
}  // namespace

void SetExceptionReporter(TExceptionReporter reporter) { g_reporter = reporter; }

void ReportCallbackException(const std::string& where) noexcept {
  try {
    std::string line;
    try {
      throw;
    } catch (const std::exception& e) {
      line = e.what();
    } catch (...) {
      line = "unknown exception ";
    }
    line += where;
    if (TExceptionReporter report = g_reporter) report(line);
    else OutputDebugStringA(line.c_str());
  } catch (...) {
    // Reporting must not be what unwinds into the system.
  }
}
