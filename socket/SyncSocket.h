// The top of the socket hierarchy: TCustomSyncSocket waits, pumping messages, until an
// asynchronous step has finished; TAsyncSocket is the component that offers the properties
// and events of all the layers below.
// Contract: the waits pump the calling thread's messages, so events of other windows run
// inside them; call from the thread that made the socket.
#pragma once
#include "socket/LineSocket.h"

using TWaitProc = TEvent<void()>;

class TCustomSyncSocket : public TCustomLineSocket {
  KARV_CLASS(TCustomSyncSocket, TCustomLineSocket)
 public:
  using TCustomLineSocket::TCustomLineSocket;

  // Clears `done`, runs `proc`, then waits for `done`.
  virtual int32_t RunAndWait(const TWaitProc& proc, bool& done);
  // Pumps messages until `done` holds (0), the time-out passes or the program ends (12001).
  virtual int32_t WaitForDone(bool& done);
};

class TAsyncSocket : public TCustomSyncSocket {
  KARV_CLASS(TAsyncSocket, TCustomSyncSocket)
 public:
  using TCustomSyncSocket::TCustomSyncSocket;
};
