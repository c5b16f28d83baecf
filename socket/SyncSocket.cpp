// Waiting, while pumping messages, for an asynchronous step to finish.
#include "socket/SyncSocket.h"

#include <algorithm>

#include "platform/rtl/MessagePump.h"

int32_t TCustomSyncSocket::RunAndWait(const TWaitProc& proc, bool& done) {
  done = false;
  if (proc) proc();
  return WaitForDone(done);
}

int32_t TCustomSyncSocket::WaitForDone(bool& done) {
  // The program ending (this socket's thread, or the application) ends every wait.
  auto ending = [this] {
    IMessagePump* pump = message_pump::InstalledPump();
    return terminated_ || (pump && pump->Terminated());
  };
  timeStop_ = GetTickCount() + (uint32_t)timeout_;
  while (!done) {
    DWORD wait = INFINITE;
    if (timeout_ > 0) {
      int32_t left = (int32_t)(timeStop_ - GetTickCount());
      if (left < 0) return WSA_WSOCKET_TIMEOUT;
      wait = (DWORD)left;
    }
    if (ending()) return WSA_WSOCKET_TIMEOUT;
    ProcessMessages();
    if (done || ending()) continue;
    // Yield until a message arrives (or the time is up) instead of spinning.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(wait, 50), QS_ALLINPUT);
  }
  return 0;
}
