// The trade-reply form; see uTradeRequest.h.
#include "client/uTradeRequest.h"

TTradeRequestFrm* TradeRequestFrm = nullptr;

TPublishedTable TTradeRequestFrm::Published() {
  using F = TTradeRequestFrm;
  return {KARV_FIELD(F, GroupBox1), KARV_FIELD(F, ListView1), KARV_FIELD(F, GroupBox2), KARV_FIELD(F, Label1),
          KARV_FIELD(F, yID),       KARV_FIELD(F, Label2),    KARV_FIELD(F, Edit1),     KARV_FIELD(F, BitBtn1),
          KARV_FIELD(F, BitBtn2),   KARV_FIELD(F, GroupBox3), KARV_FIELD(F, Memo1)};
}

// Its own top-level window beside the main window, not owned by it.
HWND TTradeRequestFrm::ParentHandleForCreate() { return GetDesktopWindow(); }
