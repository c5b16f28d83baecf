// A small waiting form made at start with the other windows; nothing shows it.
// GUI thread only; the application owns it.
#pragma once
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

class TWaitFrm : public TForm {
  KARV_CLASS(TWaitFrm, TForm)
 public:
  using TForm::TForm;
  TLabel* Label1 = nullptr;
  TPublishedTable Published() override;
};

extern TWaitFrm* WaitFrm;
