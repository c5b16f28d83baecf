// The few Win32 names that the byte parsers and their run-time helpers use, for the native
// fuzzing build on the build machine. Code page conversion is real (through iconv); what
// touches files, processes or windows fails or does nothing, because no parser needs it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>  // MinGW's windows.h brings the C string functions along

using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using UINT = unsigned int;
using ULONG_PTR = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using HANDLE = void*;
using HWND = struct HWND__*;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using LPBOOL = BOOL*;
using LPCSTR = const char*;

#define WINAPI
#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define CP_UTF8 65001u
#define MB_OK 0x0u
#define MB_ICONINFORMATION 0x40u
#define IDOK 1

// Code pages: 936, 54936, 950, 932, 949, 1252 and UTF-8. Same contract as Win32: the count
// of units written (or needed with a null or zero-sized buffer), 0 on failure.
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* src, int srcLen, wchar_t* dst, int dstLen);
int WideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* src, int srcLen, char* dst, int dstLen,
                        const char* defaultChar, LPBOOL usedDefault);

inline void OutputDebugStringA(const char*) {}

// Processes and files: never reached by a parser.
inline LPWSTR GetCommandLineW() { return nullptr; }
inline LPWSTR* CommandLineToArgvW(LPCWSTR, int* argc) { *argc = 0; return nullptr; }
inline void* LocalFree(void*) { return nullptr; }
inline DWORD GetModuleFileNameA(void*, char*, DWORD) { return 0; }
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x10u
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 1u
#define FILE_SHARE_WRITE 2u
#define OPEN_EXISTING 3u
#define CREATE_ALWAYS 2u
inline DWORD GetFileAttributesA(const char*) { return INVALID_FILE_ATTRIBUTES; }
inline BOOL CreateDirectoryA(const char*, void*) { return FALSE; }
inline BOOL DeleteFileA(const char*) { return FALSE; }
inline HANDLE CreateFileA(const char*, DWORD, DWORD, void*, DWORD, DWORD, HANDLE) { return INVALID_HANDLE_VALUE; }
inline BOOL ReadFile(HANDLE, void*, DWORD, DWORD*, void*) { return FALSE; }
inline BOOL WriteFile(HANDLE, const void*, DWORD, DWORD*, void*) { return FALSE; }
inline BOOL CloseHandle(HANDLE) { return TRUE; }

// Windows: the message block's hand-over sends nothing here.
struct COPYDATASTRUCT {
  ULONG_PTR dwData;
  DWORD cbData;
  void* lpData;
};
inline LRESULT SendMessageA(HWND, UINT, WPARAM, LPARAM) { return 0; }
