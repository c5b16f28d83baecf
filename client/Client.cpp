// The program block of Client: initialises the units, creates the data module and, only
// when the start routine succeeds, the windows in their fixed order, then runs the message
// loop until the main window closes.
#include <windows.h>

#include "client/uProgram.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunClientProgram(); }
