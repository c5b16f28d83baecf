#include "platform/rtl/Thread.h"

#include <windows.h>

#include <mutex>

#include "platform/rtl/Exception.h"
#include "platform/rtl/MessageWindow.h"
#include "platform/rtl/ThreadStack.h"

namespace {

constexpr UINT kSyncMessage = WM_APP + 0x101;
DWORD g_mainThread = 0;
HWND g_syncWindow = nullptr;

struct SyncCall {
  const std::function<void()>* fn;
  HANDLE done;
};

LRESULT CALLBACK SyncWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kSyncMessage) {
    auto* call = reinterpret_cast<SyncCall*>(lp);
    try {
      (*call->fn)();
    } catch (...) {
      // A failing synchronised call must still release the worker.
      ReportCallbackException("TThread.Synchronize");
    }
    SetEvent(call->done);
    return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace

void TThread::InitMainThread() {
  if (g_syncWindow) return;
  g_mainThread = GetCurrentThreadId();
  g_syncWindow = CreateMessageWindow("TThreadSyncWindow", SyncWndProc);
}

bool TThread::IsMainThread() { return g_mainThread == 0 || GetCurrentThreadId() == g_mainThread; }

void TThread::Synchronize(const std::function<void()>& fn) {
  if (IsMainThread() || !g_syncWindow) {
    fn();
    return;
  }
  SyncCall call{&fn, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  if (PostMessageA(g_syncWindow, kSyncMessage, 0, reinterpret_cast<LPARAM>(&call)))
    WaitForSingleObject(call.done, INFINITE);
  CloseHandle(call.done);
}

unsigned long __stdcall TThread::ThreadProc(void* p) {
  auto* self = static_cast<TThread*>(p);
  try {
    self->Execute();
  } catch (...) {
  }
  sys::ReleaseUnusedStack();
  bool freeSelf;
  {
    std::lock_guard<std::mutex> g(self->endLock_);
    self->finished_ = true;
    freeSelf = self->freeOnEnd_;
  }
  if (freeSelf) {
    // Nobody waits for a thread that owns itself.
    CloseHandle(static_cast<HANDLE>(self->handle_));
    self->handle_ = nullptr;
    delete self;
  }
  return 0;
}

void TThread::Start() {
  if (handle_) return;
  InitMainThread();
  finished_ = false;
  handle_ = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
}

void TThread::WaitFor() {
  if (!handle_) return;
  HANDLE h = handle_;
  if (IsMainThread()) {
    bool quit = false;
    int quitCode = 0;
    while (MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
      MSG m;
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
          quit = true;  // handed back to the real loop once the thread is gone
          quitCode = (int)m.wParam;
          continue;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
    }
    if (quit) PostQuitMessage(quitCode);
  } else {
    WaitForSingleObject(h, INFINITE);
  }
  CloseHandle(h);
  handle_ = nullptr;
}

void TThread::WaitForSynchronizeOnly() {
  if (!handle_) return;
  HANDLE h = handle_;
  if (IsMainThread() && g_syncWindow) {
    // Polled: a wait for the queue would wake for every other window's message too.
    while (WaitForSingleObject(h, 5) == WAIT_TIMEOUT) {
      MSG m;
      while (PeekMessageA(&m, g_syncWindow, kSyncMessage, kSyncMessage, PM_REMOVE)) DispatchMessageA(&m);
    }
  } else {
    WaitForSingleObject(h, INFINITE);
  }
  CloseHandle(h);
  handle_ = nullptr;
}

bool TThread::FreeOnEnd() {
  std::lock_guard<std::mutex> g(endLock_);
  if (!handle_ || finished_) return false;
  freeOnEnd_ = true;
  return true;
}

TThread::~TThread() {
  if (handle_) {
    Terminate();
    WaitFor();
  }
}
