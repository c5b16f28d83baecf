// The common-services window; see uSoftWare.h.
#include "client/uSoftWare.h"

#include "client/uMain.h"

TSoftWareFrm* SoftWareFrm = nullptr;

TPublishedTable TSoftWareFrm::Published() {
  using F = TSoftWareFrm;
  return {KARV_FIELDS(F, Panel1, WebBrowserTool),
          KARV_HANDLERS(F, FormCreate)};
}

HWND TSoftWareFrm::ParentHandleForCreate() { return GetDesktopWindow(); }

void TSoftWareFrm::FormCreate(TObject*) { WebBrowserTool->Navigate(TMainFrm::ServiceUrl("/UserService.html")); }

void TSoftWareFrm::BeforeDestruction() {
  // The main window makes a new one when this one is gone.
  if (SoftWareFrm == this) SoftWareFrm = nullptr;
  TForm::BeforeDestruction();
}
