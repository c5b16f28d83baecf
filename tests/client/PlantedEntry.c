/* A library planted under the picture library's name: its entry point leaves a mark in
   the process that loads it, so a test sees whether any of its code ran. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableA("KARV_PLANTED_CODE_RAN", "1");
  return TRUE;
}
