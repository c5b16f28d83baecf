// ServiceServer.exe [address] [port]: the stand-in service server with its demo data set
// for the run command; address 127.0.0.1 and port 8014 by default, loopback addresses only.
// Runs until it is ended (Ctrl+C or by its process id).
#include "tools/serviceserver/ServiceServer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

static HANDLE g_stop = nullptr;

static BOOL WINAPI OnConsoleCtrl(DWORD) {
  SetEvent(g_stop);
  return TRUE;
}

int main(int argc, char** argv) {
  std::string address = argc > 1 ? argv[1] : "127.0.0.1";
  int port = argc > 2 ? std::atoi(argv[2]) : 8014;
  if (port <= 0 || port > 65535) {
    std::fprintf(stderr, "ServiceServer: bad port %s\n", argv[2]);
    return 2;
  }
  g_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(OnConsoleCtrl, TRUE);
  stub::TServiceServer server;
  if (!server.Start(address, uint16_t(port))) {
    std::fprintf(stderr, "ServiceServer: cannot listen on %s:%d (loopback addresses only)\n", address.c_str(), port);
    return 1;
  }
  std::printf("ServiceServer listening on %s:%u; demo accounts 10001 and 10002, password demo\n", address.c_str(),
              unsigned(server.Port()));
  std::fflush(stdout);
  WaitForSingleObject(g_stop, INFINITE);
  server.Stop();
  CloseHandle(g_stop);
  return 0;
}
