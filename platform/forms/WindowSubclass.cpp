#include "platform/forms/WindowSubclass.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "platform/rtl/Exception.h"

// The thunk replaces the window handle argument by its block and jumps to Entry, so one
// ordinary CALLBACK function serves every subclassed window.
struct TWindowSubclass::Block {
  unsigned char code[32];
  HWND window = nullptr;
  WNDPROC previous = nullptr;
  THandler handler;
  bool wide = false;         // a Unicode window: kept Unicode, called through the W functions
  int depth = 0;             // messages running through the thunk now
  bool detached = false;     // the owner let go: pass everything on
  bool windowGone = false;   // WM_NCDESTROY has passed
  bool freePending = false;  // free once the last message returns
};

namespace {
using Block = TWindowSubclass::Block;

LRESULT CallProc(bool wide, WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (proc) return wide ? CallWindowProcW(proc, h, msg, wp, lp) : CallWindowProcA(proc, h, msg, wp, lp);
  return wide ? DefWindowProcW(h, msg, wp, lp) : DefWindowProcA(h, msg, wp, lp);
}
LONG_PTR GetProc(bool wide, HWND h) {
  return wide ? GetWindowLongPtrW(h, GWLP_WNDPROC) : GetWindowLongPtrA(h, GWLP_WNDPROC);
}
// Setting a procedure through the ANSI function would turn a Unicode window into an ANSI one.
LONG_PTR SetProc(bool wide, HWND h, LONG_PTR proc) {
  return wide ? SetWindowLongPtrW(h, GWLP_WNDPROC, proc) : SetWindowLongPtrA(h, GWLP_WNDPROC, proc);
}

// Blocks hold code, so they come from a heap whose pages may run.
HANDLE ThunkHeap() {
  static HANDLE heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
  return heap;
}

void FreeBlock(Block* b) {
  b->~Block();
  HeapFree(ThunkHeap(), 0, b);
}

LRESULT CALLBACK Entry(HWND blockArg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* b = reinterpret_cast<Block*>(blockArg);
  HWND h = b->window;
  ++b->depth;
  LRESULT r = 0;
  try {
    if (!b->detached && b->handler) r = b->handler(h, msg, wp, lp);
    else r = CallProc(b->wide, b->previous, h, msg, wp, lp);
  } catch (...) {
    // No exception may cross into the system's message dispatch.
    ReportCallbackException("window subclass");
  }
  if (msg == WM_NCDESTROY) {
    b->windowGone = true;
    if (b->detached) b->freePending = true;
  }
  if (--b->depth == 0 && b->freePending) FreeBlock(b);
  return r;
}

void WriteCode(Block* b) {
  unsigned char* c = b->code;
#if defined(_WIN64)
  // mov rcx, block ; mov rax, Entry ; jmp rax
  c[0] = 0x48, c[1] = 0xB9;
  uint64_t self = reinterpret_cast<uint64_t>(b);
  std::memcpy(c + 2, &self, 8);
  c[10] = 0x48, c[11] = 0xB8;
  uint64_t target = reinterpret_cast<uint64_t>(&Entry);
  std::memcpy(c + 12, &target, 8);
  c[20] = 0xFF, c[21] = 0xE0;
#else
  // mov dword ptr [esp+4], block ; jmp Entry
  c[0] = 0xC7, c[1] = 0x44, c[2] = 0x24, c[3] = 0x04;
  uint32_t self = reinterpret_cast<uint32_t>(b);
  std::memcpy(c + 4, &self, 4);
  c[8] = 0xE9;
  int32_t rel = static_cast<int32_t>(reinterpret_cast<intptr_t>(&Entry) - reinterpret_cast<intptr_t>(c + 13));
  std::memcpy(c + 9, &rel, 4);
#endif
  FlushInstructionCache(GetCurrentProcess(), c, sizeof b->code);
}
}  // namespace

bool TWindowSubclass::Install(HWND window, THandler handler) {
  if (block_ || !window || !IsWindow(window) || !ThunkHeap()) return false;
  void* mem = HeapAlloc(ThunkHeap(), HEAP_ZERO_MEMORY, sizeof(Block));
  if (!mem) return false;
  auto* b = new (mem) Block;
  b->window = window;
  b->handler = std::move(handler);
  b->wide = IsWindowUnicode(window) != FALSE;
  WriteCode(b);
  // The previous procedure is read before ours goes in, so no message sees it unset.
  b->previous = reinterpret_cast<WNDPROC>(GetProc(b->wide, window));
  SetLastError(0);
  LONG_PTR old = SetProc(b->wide, window, reinterpret_cast<LONG_PTR>(b->code));
  if (!old && GetLastError() != 0) {
    FreeBlock(b);
    return false;
  }
  b->previous = reinterpret_cast<WNDPROC>(old);
  block_ = b;
  window_ = window;
  previous_ = b->previous;
  wide_ = b->wide;
  return true;
}

void TWindowSubclass::Restore() {
  Block* b = block_;
  if (!b) return;
  block_ = nullptr;
  // The handler is not cleared here: it may be the very function running now.
  b->detached = true;
  if (b->windowGone || !IsWindow(b->window)) {
    b->freePending = true;
  } else if (GetProc(b->wide, b->window) == reinterpret_cast<LONG_PTR>(b->code)) {
    SetProc(b->wide, b->window, reinterpret_cast<LONG_PTR>(b->previous));
    b->freePending = true;
  }
  // Otherwise a later subclass sits above us and still calls the thunk: it stays as a
  // pass-through until the window's WM_NCDESTROY.
  if (b->freePending && b->depth == 0) FreeBlock(b);
}

HWND TWindowSubclass::Window() const { return window_; }

WNDPROC TWindowSubclass::Thunk() const {
  return block_ ? reinterpret_cast<WNDPROC>(static_cast<void*>(block_->code)) : nullptr;
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) const {
  if (!window_) return 0;
  return CallProc(wide_, previous_, window_, msg, wp, lp);
}
