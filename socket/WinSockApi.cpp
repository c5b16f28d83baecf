// Lazy binding of the WinSock entry points, with the library lock and the live-socket count.
#include "socket/WinSockApi.h"

#include <atomic>
#include <mutex>

#include "platform/rtl/SysUtils.h"
#include "socket/AsyncSocket.h"

namespace wsapi {
namespace {

enum Entry {
  eWSAStartup, eWSACleanup, eWSASetLastError, eWSAGetLastError, eWSACancelAsyncRequest,
  eWSAAsyncGetHostByName, eWSAAsyncGetHostByAddr, eWSAAsyncSelect, egetservbyname,
  egetprotobyname, egethostbyname, esocket, eshutdown, esetsockopt, esendto, esend, entohs,
  elisten, eioctlsocket, einet_ntoa, einet_addr, ehtons, egetsockname, egetpeername,
  econnect, eclosesocket, ebind, eaccept, erecv, erecvfrom, eWSAIoctl, kEntryCount
};

const char* const kNames[kEntryCount] = {
    "WSAStartup", "WSACleanup", "WSASetLastError", "WSAGetLastError", "WSACancelAsyncRequest",
    "WSAAsyncGetHostByName", "WSAAsyncGetHostByAddr", "WSAAsyncSelect", "getservbyname",
    "getprotobyname", "gethostbyname", "socket", "shutdown", "setsockopt", "sendto", "send",
    "ntohs", "listen", "ioctlsocket", "inet_ntoa", "inet_addr", "htons", "getsockname",
    "getpeername", "connect", "closesocket", "bind", "accept", "recv", "recvfrom", "WSAIoctl"};

// The library object holds its own lock, so the lock lives exactly as long as the object
// whose destructor takes it, whichever entry point made the object first.
struct Library {
  std::mutex lock;
  HMODULE wsock = nullptr;
  HMODULE ws2 = nullptr;
  std::atomic<FARPROC> slots[kEntryCount] = {};
  int socketCount = 0;
  uint8_t verLow = 1, verHigh = 1;
  bool started = false;

  void UnloadLocked() {
    if (!wsock || socketCount > 0) return;
    if (started) {
      auto cleanup = reinterpret_cast<int(WSAAPI*)()>(GetProcAddress(wsock, "WSACleanup"));
      if (cleanup) cleanup();
    }
    started = false;
    if (ws2) FreeLibrary(ws2);
    FreeLibrary(wsock);
    ws2 = wsock = nullptr;
    for (auto& s : slots) s.store(nullptr);
  }
  ~Library() {
    std::lock_guard<std::mutex> g(lock);
    if (socketCount < 1) UnloadLocked();
  }
};

// A function-local static: it exists before any static socket that uses it and so outlives it.
Library& Lib() {
  static Library lib;
  return lib;
}

std::mutex& LibLock() { return Lib().lock; }

std::string SysErr() { return sys::IntToStr((long long)GetLastError()); }

void LoadWsockLocked(Library& lib) {
  if (lib.wsock) return;
  HMODULE h = LoadLibraryA("wsock32.dll");
  if (!h) throw ESocketException("Unable to load wsock32.dll Error #" + SysErr());
  auto startup = reinterpret_cast<int(WSAAPI*)(WORD, WSADATA*)>(GetProcAddress(h, "WSAStartup"));
  if (!startup) {
    std::string err = SysErr();
    FreeLibrary(h);
    throw ESocketException("Procedure WSAStartup not found in wsock32.dll Error #" + err);
  }
  WSADATA data;
  int rc = startup(MAKEWORD(lib.verLow, lib.verHigh), &data);
  if (rc != 0) {
    FreeLibrary(h);
    throw ESocketException(sys::Format("%s: WSAStartup error #%d", "wsock32.dll", rc));
  }
  lib.wsock = h;
  lib.started = true;
}

FARPROC Slot(Entry e) {
  Library& lib = Lib();
  if (FARPROC p = lib.slots[e].load()) return p;
  std::lock_guard<std::mutex> g(LibLock());
  if (FARPROC p = lib.slots[e].load()) return p;
  LoadWsockLocked(lib);
  HMODULE from = lib.wsock;
  const char* dll = "wsock32.dll";
  if (e == eWSAIoctl) {
    dll = "ws2_32.dll";
    if (!lib.ws2) {
      lib.ws2 = LoadLibraryA(dll);
      if (!lib.ws2) throw ESocketException("Unable to load ws2_32.dll Error #" + SysErr());
    }
    from = lib.ws2;
  }
  FARPROC p = GetProcAddress(from, kNames[e]);
  if (!p)
    throw ESocketException(std::string("Procedure ") + kNames[e] + " not found in " + dll + " Error #" + SysErr());
  lib.slots[e].store(p);
  return p;
}

template <class F>
F Fn(Entry e) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(Slot(e)));
}

}  // namespace

uint8_t ReqVerLow() { return Lib().verLow; }
uint8_t ReqVerHigh() { return Lib().verHigh; }

bool SetReqVer(uint8_t low, uint8_t high) {
  std::lock_guard<std::mutex> g(LibLock());
  if (Lib().wsock) return false;
  Lib().verLow = low;
  Lib().verHigh = high;
  return true;
}

bool Loaded() {
  std::lock_guard<std::mutex> g(LibLock());
  return Lib().wsock != nullptr;
}

void AddRef() {
  std::lock_guard<std::mutex> g(LibLock());
  ++Lib().socketCount;
}

void Release() {
  std::lock_guard<std::mutex> g(LibLock());
  Library& lib = Lib();
  if (--lib.socketCount < 1) {
    lib.socketCount = 0;
    lib.UnloadLocked();
  }
}

#define WS_CALL(entry, Ret, ...) Fn<Ret(WSAAPI*)(__VA_ARGS__)>(entry)

void WSASetLastError(int code) { WS_CALL(eWSASetLastError, void, int)(code); }
int WSAGetLastError() { return WS_CALL(eWSAGetLastError, int)(); }
int WSACancelAsyncRequest(HANDLE request) { return WS_CALL(eWSACancelAsyncRequest, int, HANDLE)(request); }
HANDLE WSAAsyncGetHostByName(HWND wnd, unsigned msg, const char* name, char* buf, int len) {
  return WS_CALL(eWSAAsyncGetHostByName, HANDLE, HWND, unsigned, const char*, char*, int)(wnd, msg, name, buf, len);
}
HANDLE WSAAsyncGetHostByAddr(HWND wnd, unsigned msg, const char* addr, int len, int type, char* buf, int bufLen) {
  return WS_CALL(eWSAAsyncGetHostByAddr, HANDLE, HWND, unsigned, const char*, int, int, char*, int)(
      wnd, msg, addr, len, type, buf, bufLen);
}
int WSAAsyncSelect(SOCKET s, HWND wnd, unsigned msg, long events) {
  return WS_CALL(eWSAAsyncSelect, int, SOCKET, HWND, unsigned, long)(s, wnd, msg, events);
}
servent* getservbyname(const char* name, const char* proto) {
  return WS_CALL(egetservbyname, servent*, const char*, const char*)(name, proto);
}
protoent* getprotobyname(const char* name) { return WS_CALL(egetprotobyname, protoent*, const char*)(name); }
hostent* gethostbyname(const char* name) { return WS_CALL(egethostbyname, hostent*, const char*)(name); }
SOCKET socket(int af, int type, int protocol) { return WS_CALL(esocket, SOCKET, int, int, int)(af, type, protocol); }
int shutdown(SOCKET s, int how) { return WS_CALL(eshutdown, int, SOCKET, int)(s, how); }
int setsockopt(SOCKET s, int level, int name, const char* value, int len) {
  return WS_CALL(esetsockopt, int, SOCKET, int, int, const char*, int)(s, level, name, value, len);
}
int sendto(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int toLen) {
  return WS_CALL(esendto, int, SOCKET, const char*, int, int, const sockaddr*, int)(s, buf, len, flags, to, toLen);
}
int send(SOCKET s, const char* buf, int len, int flags) {
  return WS_CALL(esend, int, SOCKET, const char*, int, int)(s, buf, len, flags);
}
u_short ntohs(u_short v) { return WS_CALL(entohs, u_short, u_short)(v); }
int listen(SOCKET s, int backlog) { return WS_CALL(elisten, int, SOCKET, int)(s, backlog); }
int ioctlsocket(SOCKET s, long cmd, u_long* arg) { return WS_CALL(eioctlsocket, int, SOCKET, long, u_long*)(s, cmd, arg); }
char* inet_ntoa(in_addr a) { return WS_CALL(einet_ntoa, char*, in_addr)(a); }
unsigned long inet_addr(const char* text) { return WS_CALL(einet_addr, unsigned long, const char*)(text); }
u_short htons(u_short v) { return WS_CALL(ehtons, u_short, u_short)(v); }
int getsockname(SOCKET s, sockaddr* name, int* len) { return WS_CALL(egetsockname, int, SOCKET, sockaddr*, int*)(s, name, len); }
int getpeername(SOCKET s, sockaddr* name, int* len) { return WS_CALL(egetpeername, int, SOCKET, sockaddr*, int*)(s, name, len); }
int connect(SOCKET s, const sockaddr* name, int len) { return WS_CALL(econnect, int, SOCKET, const sockaddr*, int)(s, name, len); }
int closesocket(SOCKET s) { return WS_CALL(eclosesocket, int, SOCKET)(s); }
int bind(SOCKET s, const sockaddr* name, int len) { return WS_CALL(ebind, int, SOCKET, const sockaddr*, int)(s, name, len); }
SOCKET accept(SOCKET s, sockaddr* addr, int* len) { return WS_CALL(eaccept, SOCKET, SOCKET, sockaddr*, int*)(s, addr, len); }
int recv(SOCKET s, char* buf, int len, int flags) { return WS_CALL(erecv, int, SOCKET, char*, int, int)(s, buf, len, flags); }
int recvfrom(SOCKET s, char* buf, int len, int flags, sockaddr* from, int* fromLen) {
  return WS_CALL(erecvfrom, int, SOCKET, char*, int, int, sockaddr*, int*)(s, buf, len, flags, from, fromLen);
}
int WSAIoctl(SOCKET s, DWORD code, void* in, DWORD inLen, void* out, DWORD outLen, DWORD* returned,
             WSAOVERLAPPED* overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE completion) {
  return WS_CALL(eWSAIoctl, int, SOCKET, DWORD, void*, DWORD, void*, DWORD, DWORD*, WSAOVERLAPPED*,
                 LPWSAOVERLAPPED_COMPLETION_ROUTINE)(s, code, in, inLen, out, outLen, returned, overlapped, completion);
}

}  // namespace wsapi
