// The news-publishing window; see uZiXun.h.
#include "client/uZiXun.h"

#include "client/uMain.h"

TZiXunFrm* ZiXunFrm = nullptr;

TPublishedTable TZiXunFrm::Published() {
  using F = TZiXunFrm;
  return {KARV_FIELD(F, WebZiXun), KARV_FIELD(F, Timer1), KARV_HANDLER(F, Timer1Timer)};
}

void TZiXunFrm::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  WebZiXun->Navigate(PublishUrl);
}
