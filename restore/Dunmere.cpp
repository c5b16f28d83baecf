// Dunmere, the restore tool: puts the backup of the personal database (Bak\LocalConfig.mdb
// beside it) back over DataConfig\LocalConfig.mdb. Client starts it from its settings
// window as it ends itself. Its one window is Client's backup window in restore mode, drawn
// by the skin component its description carries.
#include <windows.h>

#include <exception>

#include "client/uBackUp.h"
#include "platform/forms/Forms.h"
#include "skin/SkinData.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication app;
  Application = &app;
  int exitCode = 0;
  try {
    app.Initialize();
    RegisterFormsClasses();
    RegisterSkinData();
    app.SetTitle("个人配置信息还原");
    DataBackMode = 1;
    DataBackFrm = app.CreateForm<TDataBackFrm>();
    app.Run();
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "个人配置信息还原", MB_OK | MB_ICONERROR);
    exitCode = 1;
  }
  Application = nullptr;
  return exitCode;
}
