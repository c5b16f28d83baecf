// The trade-reply form; see uTradeRequest.h.
#include "client/uTradeRequest.h"

TTradeRequestFrm* TradeRequestFrm = nullptr;

TPublishedTable TTradeRequestFrm::Published() {
  using F = TTradeRequestFrm;
  return {KARV_FIELDS(F, GroupBox1, ListView1, GroupBox2, Label1, yID),
          KARV_FIELDS(F, Label2, Edit1, BitBtn1, BitBtn2, GroupBox3, Memo1)};
}

// Its own top-level window beside the main window, not owned by it.
HWND TTradeRequestFrm::ParentHandleForCreate() { return GetDesktopWindow(); }
