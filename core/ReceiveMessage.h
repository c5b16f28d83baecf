// The queue of enterprise friends' offline messages (protocol 49) that the main window keeps
// for the life of the program; its handler fills CurrentOffline and calls Add.
// Contract: the main window owns the queue (OfflineMsgQueue); records are copies, so the
// queue shares nothing with CurrentOffline. GUI thread only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/UserManager.h"
#include "platform/rtl/Object.h"

extern TChatRecvInfo CurrentOffline;

struct TOfflineRecord : TWaitingText {
  uint8_t Second = 0;
  uint8_t Kind = 0;
  bool Shown = false;  // set by the main window once handed to a chat window
};

class TReceiveBuffer : public TObject {
  KARV_CLASS(TReceiveBuffer, TObject)
 public:
  std::vector<TOfflineRecord> Items;
  uint8_t Flag = 0;

  int32_t Count() const { return int32_t(Items.size()); }
  // Appends a copy of CurrentOffline.
  bool Add();
};
