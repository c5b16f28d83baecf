// The common-services window: the service's page of common services in a browser pane. Made
// at start and kept; the main window's "常用服务" button shows it.
// GUI thread only; the application owns it.
#pragma once
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/web/WebBrowser.h"

class TSoftWareFrm : public TForm {
  KARV_CLASS(TSoftWareFrm, TForm)
 public:
  using TForm::TForm;
  TPanel* Panel1 = nullptr;
  TWebBrowser* WebBrowserTool = nullptr;
  void FormCreate(TObject* Sender);
  TPublishedTable Published() override;

 protected:
  HWND ParentHandleForCreate() override;
  void BeforeDestruction() override;
};

extern TSoftWareFrm* SoftWareFrm;
