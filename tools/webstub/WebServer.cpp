// WebServer.exe: the loopback web stub as a program for the run command.
//   WebServer.exe [--address 127.x.y.z] [--port N] [--expiry dd-mmm-yyyy]
// Serves until the process is ended.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/rtl/Exception.h"
#include "tools/webstub/WebStub.h"

int main(int argc, char** argv) {
  std::string address = "127.0.0.1", expiry;
  int port = 80;
  bool haveExpiry = false;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!strcmp(argv[i], "--address")) address = argv[i + 1];
    else if (!strcmp(argv[i], "--port")) port = atoi(argv[i + 1]);
    else if (!strcmp(argv[i], "--expiry")) expiry = argv[i + 1], haveExpiry = true;
    else {
      fprintf(stderr, "usage: WebServer.exe [--address 127.x.y.z] [--port N] [--expiry dd-mmm-yyyy]\n");
      return 2;
    }
  }
  try {
    TWebStub stub(address, port);
    if (haveExpiry) stub.SetWhoisExpiry(expiry);
    stub.Start();
    printf("WebServer listening on %s/\n", stub.BaseUrl().c_str());
    fflush(stdout);
    for (;;) Sleep(INFINITE);
  } catch (const Exception& e) {
    fprintf(stderr, "WebServer: %s\n", e.what());
    return 1;
  }
}
