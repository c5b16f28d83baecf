#include "platform/forms/Hints.h"

#include <string>

#include "platform/forms/Application.h"
#include "platform/rtl/Exception.h"

namespace {
// How often the pointer is looked at while it is over this thread's windows or a hint shows.
// The pointer's own position is read: a queued move may carry a position it has already left,
// and the pointer may leave for a window that tells this thread nothing.
constexpr int kPollMs = 50;
// The hint's top below the pointer's hot spot: under the standard arrow.
constexpr int kBelowPointer = 20;

bool OfThisThread(HWND h) { return h && GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId(); }

bool IsPointerMove(UINT msg) { return msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE || msg == WM_MOUSELEAVE; }

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

void TApplicationHints::CancelHint() {
  HideHint();
  cancelled_ = true;
}

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
  if (IsPointerMove(m.message)) {
    if (!timer_) {
      timer_.reset(New<TTimer>(nullptr));
      timer_->SetEnabled(false);
      timer_->SetInterval(kPollMs);
      timer_->OnTimer = TNotifyEvent(this, &TApplicationHints::Poll);
    }
    if (!timer_->Enabled()) {
      timer_->SetEnabled(true);
      Poll(nullptr);
    }
  } else if (IsClickOrKey(m.message)) {
    CancelHint();
  }
}

void TApplicationHints::Poll(TObject*) {
  POINT p{};
  if (!GetCursorPos(&p)) return;
  TControl* c = showHint_ ? HintControlAt(p) : nullptr;
  DWORD now = GetTickCount();
  if (c != under_) {
    // Straight from one shown hint to the next control: only a short pause.
    pause_ = shown_ ? HintShortPause : HintPause;
    HideHint();
    under_ = c;
    since_ = now;
    cancelled_ = false;
  } else if (c && !shown_ && !cancelled_ && (int)(now - since_) >= pause_) {
    if (!window_) window_.reset(New<THintWindow>(nullptr));
    window_->ActivateHint(POINT{p.x, p.y + kBelowPointer}, p.y, HintOf(c));
    shown_ = c;
  }
  // Nothing to show or watch while the pointer is elsewhere: the next move starts again.
  if (!c && !shown_ && !OfThisThread(WindowFromPoint(p))) timer_->SetEnabled(false);
}

void TApplicationHints::HideHint() {
  shown_ = nullptr;
  if (window_) window_->ReleaseHint();
}
