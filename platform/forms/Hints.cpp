#include "platform/forms/Hints.h"

#include "platform/forms/Application.h"
#include "platform/rtl/Exception.h"

namespace {
// How often a shown hint checks that the pointer is still on its control: the pointer may
// leave for a window that tells this thread nothing (another program's, the desktop).
constexpr int kWatchMs = 100;
// The hint's top below the pointer's hot spot: under the standard arrow.
constexpr int kBelowPointer = 20;

bool OfThisThread(HWND h) { return h && GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId(); }

bool IsClickOrKey(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_MOUSEWHEEL:
      return true;
    default:
      return false;
  }
}
}  // namespace

TApplicationHints::TApplicationHints() {
  hook_ = SetWindowsHookExA(WH_GETMESSAGE, &TApplicationHints::InputHook, nullptr, GetCurrentThreadId());
  if (!hook_) throw Exception("TApplication: cannot watch the pointer for hints (error " + std::to_string(GetLastError()) + ")");
}

TApplicationHints::~TApplicationHints() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

void TApplicationHints::SetShowHint(bool v) {
  showHint_ = v;
  if (!v) CancelHint();
}

void TApplicationHints::CancelHint() { HideHint(); }

TControl* TApplicationHints::HintControlAt(POINT screen) {
  HWND h = WindowFromPoint(screen);
  if (!OfThisThread(h)) return nullptr;
  // A system window inside one of ours (a combo box's edit) counts as the control it is in.
  TWinControl* w = nullptr;
  for (HWND x = h; x && !w; x = (GetWindowLongA(x, GWL_STYLE) & WS_CHILD) ? GetParent(x) : nullptr)
    w = TWinControl::FromHandle(x);
  if (!w) return nullptr;
  TControl* c = w;
  POINT p = screen;
  if (ScreenToClient(w->HandleIfAllocated(), &p))
    if (TControl* g = w->ControlAtPos(p); g && dynamic_cast<TGraphicControl*>(g)) c = g;
  while (c && !c->ShowHint()) c = c->Parent();
  return c && !HintOf(c).empty() ? c : nullptr;
}

std::string TApplicationHints::HintOf(const TControl* c) {
  for (; c; c = c->Parent())
    if (!c->Hint().empty()) return c->Hint();
  return {};
}

LRESULT CALLBACK TApplicationHints::InputHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE && Application) {
    try {
      if (TApplicationHints* hints = Application->Hints()) hints->Input(*reinterpret_cast<const MSG*>(lp));
    } catch (...) {
      ReportCallbackException("TApplicationHints.InputHook");
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

void TApplicationHints::Input(const MSG& m) {
  if (m.message == WM_MOUSEMOVE) {
    PointerMoved(m.pt);
  } else if (m.message == WM_MOUSELEAVE || m.message == WM_NCMOUSEMOVE) {
    POINT p{};
    if (GetCursorPos(&p)) PointerMoved(p);
  } else if (IsClickOrKey(m.message)) {
    CancelHint();
  }
}

void TApplicationHints::PointerMoved(POINT screen) {
  TControl* c = showHint_ ? HintControlAt(screen) : nullptr;
  if (c == under_) return;  // the same control: its pause runs on, its hint stays (or stays away)
  bool wasShown = shown_ != nullptr;
  HideHint();
  under_ = c;
  if (!c) return;
  if (!timer_) {
    timer_.reset(New<TTimer>(nullptr));
    timer_->OnTimer = TNotifyEvent(this, &TApplicationHints::TimerFired);
  }
  waiting_ = true;
  timer_->SetEnabled(false);
  timer_->SetInterval(wasShown ? HintShortPause : HintPause);
  timer_->SetEnabled(true);
}

void TApplicationHints::HideHint() {
  if (timer_) timer_->SetEnabled(false);
  waiting_ = false;
  shown_ = nullptr;
  if (window_) window_->ReleaseHint();
}

void TApplicationHints::TimerFired(TObject*) {
  if (!waiting_) return Watch();
  timer_->SetEnabled(false);
  waiting_ = false;
  POINT p{};
  if (!GetCursorPos(&p)) return;
  TControl* c = HintControlAt(p);
  if (c != under_) return PointerMoved(p);
  if (!window_) window_.reset(New<THintWindow>(nullptr));
  window_->ActivateHint(POINT{p.x, p.y + kBelowPointer}, p.y, HintOf(c));
  shown_ = c;
  timer_->SetInterval(kWatchMs);
  timer_->SetEnabled(true);
}

void TApplicationHints::Watch() {
  POINT p{};
  if (shown_ && GetCursorPos(&p) && HintControlAt(p) != shown_) PointerMoved(p);
}
