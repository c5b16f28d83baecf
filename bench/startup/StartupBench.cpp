// bench_startup: the real Client.exe against two baselines, all started from one program
// folder under the same Wine in the same run: BareLinked.exe (one window, one button, and
// the system libraries that Client.exe imports, each called once) and, for reference,
// BareWindow.exe (the same window without those libraries), and BareLogin.exe: the login
// window's own windows made with plain system calls, which shows the system's share.
// - start-up: from process creation to the first paint of the login window (the baseline's
//   window), median of several starts. Target: at most 1.5 x the linked baseline.
// - memory: the resident set after login with the main window shown (the baseline's after its
//   first paint). Target: at most 10 MB above the linked baseline.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "tests/client/ClientProcess.h"
#include "tests/client/StandIns.h"

using namespace client_test;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 15;
constexpr const char* kServerAddress = "127.0.0.77";

BOOL CALLBACK ChildUnpainted(HWND h, LPARAM lp) {
  if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) *reinterpret_cast<bool*>(lp) = true;
  return TRUE;
}

// Shown, and neither the window nor a visible child still waits for its paint.
bool Painted(HWND h) {
  if (!IsWindowVisible(h) || GetUpdateRect(h, nullptr, FALSE)) return false;
  bool unpainted = false;
  EnumChildWindows(h, ChildUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

// Starts the program and gives the seconds until its window of class `cls` is painted;
// `window` gets that window. Negative when it never is.
double StartToPaint(std::unique_ptr<Process>& p, const std::string& exe, const std::string& cls, HWND& window) {
  auto start = Clock::now();
  p = std::make_unique<Process>(exe);
  window = nullptr;
  while (Clock::now() - start < std::chrono::seconds(60)) {
    if (!window) window = FindVisibleWindow(p->Id(), cls);
    if (window && Painted(window)) return std::chrono::duration<double>(Clock::now() - start).count();
    Sleep(1);
  }
  return -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double ResidentMB(const Process& p) {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(p.pi.hProcess, &pmc, sizeof pmc)) return -1;
  return pmc.WorkingSetSize / 1048576.0;
}

void Stop(std::unique_ptr<Process>& p) {
  TerminateProcess(p->pi.hProcess, 0);
  p->Ended(10000);
  p.reset();
}

struct Baseline {
  const char* exe;
  std::string path;
  std::vector<double> times;
  double mb = 0;
};

}  // namespace

int main() {
  AppFolder app{true};
  Baseline linked{"BareLinked.exe"}, plain{"BareWindow.exe"}, login{"BareLogin.exe"};
  for (Baseline* b : {&linked, &plain, &login}) {
    b->path = app.File(b->exe);
    if (!CopyFileA((BinFolder() + b->exe).c_str(), b->path.c_str(), FALSE)) {
      std::fprintf(stderr, "bench_startup: %s is missing\n", b->exe);
      return 1;
    }
  }
  StandIns standIns;
  if (!standIns.Start(app, kServerAddress)) {
    std::fprintf(stderr, "bench_startup: the stand-in server cannot listen on %s:8014\n", kServerAddress);
    return 1;
  }

  // One start of each first: Client makes its personal database then, and all programs
  // find Wine's libraries warm afterwards. Turn by turn, so a drift of the machine's speed
  // falls on all alike.
  std::unique_ptr<Process> p;
  HWND window = nullptr;
  std::vector<double> clientTimes;
  for (int run = -1; run < kRuns; ++run) {
    double l = StartToPaint(p, linked.path, "BareWindow", window);
    Stop(p);
    double b = StartToPaint(p, plain.path, "BareWindow", window);
    Stop(p);
    double w = StartToPaint(p, login.path, "BareWindow", window);
    Stop(p);
    double c = StartToPaint(p, app.Exe(), "TLoginFrm", window);
    Stop(p);
    if (l < 0 || b < 0 || w < 0 || c < 0) {
      std::fprintf(stderr, "bench_startup: a window never painted (linked %.3f, bare %.3f, login %.3f, client %.3f)\n",
                   l, b, w, c);
      return 1;
    }
    if (run < 0) continue;
    linked.times.push_back(l);
    plain.times.push_back(b);
    login.times.push_back(w);
    clientTimes.push_back(c);
  }

  for (Baseline* b : {&linked, &plain, &login}) {
    StartToPaint(p, b->path, "BareWindow", window);
    WaitFor([] { return false; }, 2000);
    b->mb = ResidentMB(*p);
    Stop(p);
  }

  double c = StartToPaint(p, app.Exe(), "TLoginFrm", window);
  if (c < 0) return 1;
  TypeLogin(window, "10001", "demo");
  HWND main = nullptr;
  WaitFor([&] { return (main = FindVisibleWindow(p->Id(), "TMainFrm")) != nullptr; }, 20000);
  if (!main) {
    std::fprintf(stderr, "bench_startup: the login did not reach the main window\n");
    return 1;
  }
  WaitFor([] { return false; }, 3000);  // the main window's panes load
  double clientMB = ResidentMB(*p);
  PostMessageA(main, WM_CLOSE, 0, 0);
  if (!p->Ended(20000)) Stop(p);

  double linkedS = Median(linked.times), plainS = Median(plain.times), loginS = Median(login.times);
  double clientS = Median(clientTimes);
  std::printf("start-up to first paint (median of %d): linked baseline %.0f ms, Client %.0f ms, ratio %.2f "
              "(target <= 1.50)\n",
              kRuns, linkedS * 1000, clientS * 1000, clientS / linkedS);
  std::printf("  plain bare program %.0f ms, Client against it %.2f\n", plainS * 1000, clientS / plainS);
  std::printf("  the login window's windows in plain Win32 %.0f ms (%.2f of the linked baseline), Client against "
              "it %.2f\n",
              loginS * 1000, loginS / linkedS, clientS / loginS);
  std::printf("resident memory: linked baseline %.1f MB, Client after login %.1f MB, difference %.1f MB "
              "(target <= 10.0)\n",
              linked.mb, clientMB, clientMB - linked.mb);
  std::printf("  plain bare program %.1f MB, Client above it %.1f MB\n", plain.mb, clientMB - plain.mb);
  std::printf("  the login window's windows in plain Win32 %.1f MB\n", login.mb);
  return 0;
}
