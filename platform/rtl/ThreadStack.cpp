#include "platform/rtl/ThreadStack.h"

#include <windows.h>

namespace sys {

namespace {
// Left alone below the caller: thread exit, DLL detach and TLS clean-up run there.
constexpr UINT_PTR kExitMargin = 64 * 1024;
constexpr UINT_PTR kPage = 4096;

// The lowest committed page of this thread's stack, above its guard page: resetting the
// guard or the reserved pages below would be refused.
UINT_PTR CommittedStackLow() {
#pragma GCC diagnostic push
  // GCC takes the TEB read through the segment register for an access past a zero-size array.
#pragma GCC diagnostic ignored "-Warray-bounds"
  const auto* tib = reinterpret_cast<const NT_TIB*>(NtCurrentTeb());
  return reinterpret_cast<UINT_PTR>(tib->StackLimit);
#pragma GCC diagnostic pop
}

}  // namespace

void ReleaseUnusedStack() {
  volatile char here = 0;
  UINT_PTR frame = reinterpret_cast<UINT_PTR>(&here);
  UINT_PTR low = (CommittedStackLow() + kPage - 1) & ~(kPage - 1);
  if (frame < low + kExitMargin) return;
  UINT_PTR high = (frame - kExitMargin) & ~(kPage - 1);
  if (high <= low) return;
  // MEM_RESET keeps the pages committed: should the exit path reach them, they read as zeros
  // or old contents, both fine for a stack below its frame. A refusal only keeps them resident.
  VirtualAlloc(reinterpret_cast<void*>(low), high - low, MEM_RESET, PAGE_READWRITE);
}

}  // namespace sys
