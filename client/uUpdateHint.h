// The update prompt: tells the user that the server knows a newer version. Any way of
// leaving it ends the program; "升级" (also the Esc key) first lets the caller start the updater.
// GUI thread only; whoever makes it frees it.
#pragma once
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

class TUpdateFrm : public TForm {
  KARV_CLASS(TUpdateFrm, TForm)
 public:
  using TForm::TForm;
  TLabel* labelInfo = nullptr;
  TLabel* Label1 = nullptr;
  TButton* btnUpdate = nullptr;
  TButton* btnExit = nullptr;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void btnUpdateClick(TObject* Sender);
  void btnExitClick(TObject* Sender);
  TPublishedTable Published() override;
};
