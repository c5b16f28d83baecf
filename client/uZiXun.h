// The news-publishing window: the service's publishing page in a browser pane, loaded once,
// five seconds after the window is made at start, whether or not it is shown.
// GUI thread only; the application owns it.
#pragma once
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/web/WebBrowser.h"

class TZiXunFrm : public TForm {
  KARV_CLASS(TZiXunFrm, TForm)
 public:
  using TForm::TForm;
  TWebBrowser* WebZiXun = nullptr;
  TTimer* Timer1 = nullptr;
  void Timer1Timer(TObject* Sender);
  TPublishedTable Published() override;
};

extern TZiXunFrm* ZiXunFrm;
