// The offline-messages window; see uMsgHistory.h.
#include "client/uMsgHistory.h"

#include "client/MessageBlock.h"
#include "client/uMain.h"
#include "core/uHelpers.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysUtils.h"

TPublishedTable TMsgHistoryFrm::Published() {
  using F = TMsgHistoryFrm;
  return {KARV_FIELDS(F, Panel1, yListHistory),
          KARV_HANDLERS(F, FormShow, FormClose, FormDestroy)};
}

void TMsgHistoryFrm::FormShow(TObject*) {
  if (!ServiceClient) return;
  yListHistory->BeginUpdate();
  yListHistory->Clear();
  int counter = 0;
  auto& waiting = ServiceClient->UserManager->ReceiveMsgList;
  for (size_t i = waiting.size(); i-- > 0;) {
    const TReceivedMsg& entry = waiting[i];
    // A friend's offline entry stands for the offline queue and waits for its chat window.
    if (entry.Flag == 0 || entry.Kind != 0) continue;
    ++counter;
    if (SplitLines(entry.Text, "\r", HistoryLines)) {
      for (int l = 0; l < HistoryLines.Count(); ++l) {
        TListItem* row = yListHistory->Add();
        row->SetCaption(sys::IntToStr(counter));
        row->AddSubItem(entry.Sender);
        row->AddSubItem(sys::Trim(HistoryLines[l]));
        row->AddSubItem(dt::DateTimeToStr(entry.Time));
      }
    }
    waiting.erase(waiting.begin() + i);
  }
  yListHistory->EndUpdate();
}

void TMsgHistoryFrm::FormClose(TObject*, TCloseAction& Action) { Action = TCloseAction::caFree; }


void TMsgHistoryFrm::FormDestroy(TObject*) {
  if (!MainFrm || !MainFrm->yMemoReceive) return;
  for (int i = 0; i < yListHistory->Count(); ++i) {
    TListItem* row = yListHistory->Items(i);
    MainFrm->yMemoReceive->AppendText(
        kCustomerPrefix + row->SubItem(0) + "  " + dt::DateTimeToStr(dt::Now()) + "\r\n" + row->SubItem(1) + "\r\n",
        TTextAttributes{});
  }
}
