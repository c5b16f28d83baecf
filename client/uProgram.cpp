#include "client/uProgram.h"

#include <windows.h>

#include "client/ServerHost.h"
#include "client/uBackUp.h"
#include "client/uLogin.h"
#include "client/uMain.h"
#include "client/uSoftWare.h"
#include "client/uTrade.h"
#include "client/uTradeRequest.h"
#include "client/uUpdateHint.h"
#include "client/uWait.h"
#include "client/uZiXun.h"
#include "core/uDataOperate.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/forms/Forms.h"
#include "platform/web/WebBrowser.h"
#include "skin/SkinData.h"
#include "webtools/DomainHint.h"
#include "webtools/uSaveNetParse.h"
#include "widgets/Widgets.h"

namespace {

// Registers every class the form descriptions of this program name.
void RegisterClientClasses() {
  RegisterFormsClasses();
  RegisterWebBrowser();
  RegisterWidgets();
  RegisterSkinData();
}

// The windows, in this order; the first becomes the main window. Its creation runs the
// login: when the program was told to end there (退出, the updater, a restore, a new server
// line), nothing more is made, so no second data module reopens the databases and no pane
// fetches its page.
void CreateWindows(TApplication& app) {
  app.CreateForm<TMainFrm>();
  if (app.Terminated()) return;
  TradeRequestFrm = app.CreateForm<TTradeRequestFrm>();
  SoftWareFrm = app.CreateForm<TSoftWareFrm>();
  ZiXunFrm = app.CreateForm<TZiXunFrm>();
  // The second data module replaces the first as the global one; the service client keeps the first.
  Data = ::CreateForm<TData>(&app);
  app.CreateForm<TfrmServerHost>();
  WaitFrm = app.CreateForm<TWaitFrm>();
  app.CreateForm<TUpdateFrm>();  // the login window makes its own when it needs one
  DomainHintFrm = app.CreateForm<TDomainHintFrm>();
  app.CreateForm<TSaveNetFrm>();
  DataBackFrm = app.CreateForm<TDataBackFrm>();
  TradeFrm = app.CreateForm<TTradeFrm>();
  app.CreateForm<TLoginFrm>();  // never shown
}

}  // namespace

int RunClientProgram() {
  // Unit initialisation: the ini file and its defaults.
  timing::Mark("program block");
  InitializeSettingsUnit();
  int exitCode = 0;
  {
    // The first data module outlives the windows: the service client holds it, and a
    // window's teardown may still reach it there. When it goes the client lets go of it.
    TOwned<TData> firstData;
    struct ReleaseFirstData {
      TOwned<TData>& module;
      ~ReleaseFirstData() {
        if (ServiceClient && ServiceClient->DataModule == module.get()) ServiceClient->DataModule = nullptr;
      }
    } releaseFirstData{firstData};
    // The application object.
    TApplication app;
    Application = &app;
    app.Initialize();
    RegisterClientClasses();
    // No task-bar button: the program lives in the notification area.
    HWND h = app.Handle();
    SetWindowLongPtrA(h, GWL_EXSTYLE, GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    // The data module.
    firstData.reset(CreateForm<TData>(nullptr));
    Data = firstData.get();
    // Without the picture library nothing is created.
    if (StartRoutine()) {
      CreateWindows(app);
      timing::Mark("windows created");
      // Until the main window closes; not at all when the login already ended the program.
      if (!app.Terminated()) app.Run();
    }
    // The application object clears its global itself, after its forms are gone: their
    // destruction still uses it.
  }
  // Unit finalisation.
  FinalizeSettingsUnit();
  return exitCode;
}
