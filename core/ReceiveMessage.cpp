// The offline-message queue.
#include "core/ReceiveMessage.h"

TChatRecvInfo CurrentOffline;

bool TReceiveBuffer::Add() {
  try {
    Items.push_back({{CurrentOffline.Sender, CurrentOffline.Text, CurrentOffline.Time}, CurrentOffline.Second,
                     CurrentOffline.Kind, false});
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
