#include "client/uProgram.h"

#include <windows.h>

#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/forms/Forms.h"

namespace {

// Registers every class the form descriptions of this program name.
void RegisterClientClasses() { RegisterFormsClasses(); }

// Step 6: the windows, in this order; the first becomes the main window.
void CreateWindows(TApplication& app) { (void)app; }

}  // namespace

int RunClientProgram() {
  // 1. Unit initialisation: the ini file and its defaults.
  InitializeSettingsUnit();
  int exitCode = 0;
  {
    // 2. The application object.
    TApplication app;
    Application = &app;
    app.Initialize();
    RegisterClientClasses();
    // 3. No task-bar button: the program lives in the notification area.
    HWND h = app.Handle();
    SetWindowLongPtrA(h, GWL_EXSTYLE, GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    // 4. The data module.
    // 5. Without the picture library nothing is created.
    if (StartRoutine()) {
      CreateWindows(app);
      // 7. Until the main window closes.
      app.Run();
    }
    Application = nullptr;
  }
  // 8. Unit finalisation.
  FinalizeSettingsUnit();
  return exitCode;
}
