// WinSock 1.1 bound at run time: each entry point is looked up by name in wsock32.dll on its
// first call (WSAIoctl in ws2_32.dll), under one process-wide library lock that also guards
// the count of live sockets. WinSock is started with the first binding and cleaned up when
// the last socket goes away (or at process end).
// Contract: the library handle is process-wide and freed by the last socket or at exit; any
// thread may call an entry point.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>

namespace wsapi {

// Option numbers of WinSock 1.1, which wsock32.dll's setsockopt expects (they differ from
// the WinSock 2 numbers of winsock2.h).
constexpr int kIpMulticastIf = 2;
constexpr int kIpMulticastTtl = 3;
constexpr int kIpAddMembership = 5;

// The version asked of WSAStartup; it can change only while WinSock is not loaded.
uint8_t ReqVerLow();
uint8_t ReqVerHigh();
// False when WinSock is already loaded (nothing changes then).
bool SetReqVer(uint8_t low, uint8_t high);
bool Loaded();

// The live-socket count; releasing the last one unloads WinSock.
void AddRef();
void Release();

void WSASetLastError(int code);
int WSAGetLastError();
int WSACancelAsyncRequest(HANDLE request);
HANDLE WSAAsyncGetHostByName(HWND wnd, unsigned msg, const char* name, char* buf, int len);
HANDLE WSAAsyncGetHostByAddr(HWND wnd, unsigned msg, const char* addr, int len, int type, char* buf, int bufLen);
int WSAAsyncSelect(SOCKET s, HWND wnd, unsigned msg, long events);
servent* getservbyname(const char* name, const char* proto);
protoent* getprotobyname(const char* name);
hostent* gethostbyname(const char* name);
SOCKET socket(int af, int type, int protocol);
int shutdown(SOCKET s, int how);
int setsockopt(SOCKET s, int level, int name, const char* value, int len);
int sendto(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int toLen);
int send(SOCKET s, const char* buf, int len, int flags);
u_short ntohs(u_short v);
int listen(SOCKET s, int backlog);
int ioctlsocket(SOCKET s, long cmd, u_long* arg);
char* inet_ntoa(in_addr a);
unsigned long inet_addr(const char* text);
u_short htons(u_short v);
int getsockname(SOCKET s, sockaddr* name, int* len);
int getpeername(SOCKET s, sockaddr* name, int* len);
int connect(SOCKET s, const sockaddr* name, int len);
int closesocket(SOCKET s);
int bind(SOCKET s, const sockaddr* name, int len);
SOCKET accept(SOCKET s, sockaddr* addr, int* len);
int recv(SOCKET s, char* buf, int len, int flags);
int recvfrom(SOCKET s, char* buf, int len, int flags, sockaddr* from, int* fromLen);
int WSAIoctl(SOCKET s, DWORD code, void* in, DWORD inLen, void* out, DWORD outLen, DWORD* returned,
             WSAOVERLAPPED* overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE completion);

}  // namespace wsapi
