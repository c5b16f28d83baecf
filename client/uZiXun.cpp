// The news-publishing window; see uZiXun.h.
#include "client/uZiXun.h"

#include "client/uMain.h"

TZiXunFrm* ZiXunFrm = nullptr;

TPublishedTable TZiXunFrm::Published() {
  using F = TZiXunFrm;
  return {KARV_FIELDS(F, WebZiXun, Timer1),
          KARV_HANDLERS(F, Timer1Timer)};
}

void TZiXunFrm::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  WebZiXun->Navigate(PublishUrl);
}
