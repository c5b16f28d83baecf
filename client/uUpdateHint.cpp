#include "client/uUpdateHint.h"

#include "core/uSocketSvrClient.h"
#include "socket/AsyncClientSocket.h"

TPublishedTable TUpdateFrm::Published() {
  return {KARV_FIELDS(TUpdateFrm, labelInfo, Label1, btnUpdate, btnExit),
          KARV_HANDLERS(TUpdateFrm, FormCreate, FormClose, btnUpdateClick, btnExitClick)};
}

void TUpdateFrm::FormCreate(TObject*) {}

void TUpdateFrm::FormClose(TObject*, TCloseAction&) {
  if (ServiceClient) ServiceClient->Socket().Close();
  Application->Terminate();
}

// The button's modal result closes the dialog, so the caller still starts the updater.
void TUpdateFrm::btnUpdateClick(TObject*) { Application->Terminate(); }

void TUpdateFrm::btnExitClick(TObject*) { Application->Terminate(); }
