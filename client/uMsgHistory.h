// The offline-messages window: lists the messages that consulting customers left while the
// user was offline, taking them out of the waiting list, the last received first; when it
// goes away it copies what it showed into the main window's record of customer messages.
// GUI thread only; owned by the application, it frees itself when closed.
#pragma once
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListView.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/StringList.h"

class TMsgHistoryFrm : public TForm {
  KARV_CLASS(TMsgHistoryFrm, TForm)
 public:
  using TForm::TForm;
  TPanel* Panel1 = nullptr;
  TListView* yListHistory = nullptr;

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  TPublishedTable Published() override;

 private:
  TStringList HistoryLines;
};
