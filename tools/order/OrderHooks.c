/* The functions a program enters, for the start-up order of its code: linked into a program
   built with -finstrument-functions (KARV_ORDER_PROFILE), it notes each function's address once
   and writes their offsets from the image base, one per line, to the file KARV_ORDER_OUT names
   with the program's name and process id after it, adding (every program of the build is
   instrumented): every half second, since a program may be ended from outside, and at its end.
   Any thread may enter; nothing here is instrumented. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define KARV_NO_HOOK __attribute__((no_instrument_function))
enum { kSlots = 1 << 17 };
static void* volatile g_seen[kSlots];

static void WriteEntered(void);
static volatile LONG g_writer = 0;

KARV_NO_HOOK static DWORD WINAPI Writer(void* unused) {
  (void)unused;
  for (;;) {
    Sleep(500);
    WriteEntered();
  }
}

KARV_NO_HOOK void __cyg_profile_func_enter(void* fn, void* site) {
  (void)site;
  if (!g_writer && !InterlockedExchange(&g_writer, 1))
    CloseHandle(CreateThread(NULL, 0, Writer, NULL, 0, NULL));
  size_t h = ((size_t)fn >> 4) * 2654435761u;
  for (size_t i = 0; i < kSlots; ++i) {
    void* volatile* slot = &g_seen[(h + i) & (kSlots - 1)];
    void* cur = *slot;
    if (cur == fn) return;
    if (!cur) {
      cur = InterlockedCompareExchangePointer((void* volatile*)slot, fn, NULL);
      if (!cur || cur == fn) return;
    }
  }
}

KARV_NO_HOOK void __cyg_profile_func_exit(void* fn, void* site) {
  (void)fn;
  (void)site;
}

KARV_NO_HOOK __attribute__((destructor)) static void WriteEntered(void) {
  const char* out = getenv("KARV_ORDER_OUT");
  char program[MAX_PATH], path[MAX_PATH + 64];
  if (!out || !GetModuleFileNameA(NULL, program, sizeof program)) return;
  const char* name = strrchr(program, '\\');
  snprintf(path, sizeof path, "%s.%s.%lu", out, name ? name + 1 : program, GetCurrentProcessId());
  FILE* f = fopen(path, "a");  // process ids come again: the reader takes every line once
  if (!f) return;
  size_t base = (size_t)GetModuleHandleA(NULL);
  for (size_t i = 0; i < kSlots; ++i)
    if (g_seen[i]) fprintf(f, "%llx\n", (unsigned long long)((size_t)g_seen[i] - base));
  fclose(f);
}
