// Small fixtures the main window's event tests share.
#pragma once
#include <cstdint>

#include "core/ServiceRecords.h"
#include "platform/rtl/SysUtils.h"

namespace client_test {

// A friend record with that number, the nickname "友" + number and that state.
inline TFriendRecord FriendOf(uint32_t number, uint8_t state) {
  TFriendRecord r;
  r.SetNumber(number);
  r.SetNumberText(sys::IntToStr(number));
  r.SetNickName("友" + sys::IntToStr(number));
  r.SetState(state);
  return r;
}

}  // namespace client_test
