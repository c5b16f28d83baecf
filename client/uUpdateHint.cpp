#include "client/uUpdateHint.h"

#include "core/uSocketSvrClient.h"
#include "socket/AsyncClientSocket.h"

TPublishedTable TUpdateFrm::Published() {
  return {KARV_FIELD(TUpdateFrm, labelInfo),      KARV_FIELD(TUpdateFrm, Label1),
          KARV_FIELD(TUpdateFrm, btnUpdate),      KARV_FIELD(TUpdateFrm, btnExit),
          KARV_HANDLER(TUpdateFrm, FormCreate),   KARV_HANDLER(TUpdateFrm, FormClose),
          KARV_HANDLER(TUpdateFrm, btnUpdateClick), KARV_HANDLER(TUpdateFrm, btnExitClick)};
}

void TUpdateFrm::FormCreate(TObject*) {}

void TUpdateFrm::FormClose(TObject*, TCloseAction&) {
  if (ServiceClient) ServiceClient->Socket().Close();
  Application->Terminate();
}

// The button's modal result closes the dialog, so the caller still starts the updater.
void TUpdateFrm::btnUpdateClick(TObject*) { Application->Terminate(); }

void TUpdateFrm::btnExitClick(TObject*) { Application->Terminate(); }
