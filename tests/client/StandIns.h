// The stand-ins a test of the real Client.exe talks to: the service server at a loopback
// address (port 8014, the only one the program uses) and the loopback web server for its
// pages. Owns both; they stop when it goes. Test thread only.
#pragma once
#include <string>

#include "tests/client/ClientProcess.h"
#include "tools/serviceserver/ServiceServer.h"
#include "tools/webstub/WebStub.h"

namespace client_test {

struct StandIns {
  stub::TServiceServer server;
  TWebStub web{"127.0.0.1", 0};

  // Starts both and points `app` at them; false when the server could not take its port.
  bool Start(const AppFolder& app, const std::string& address) {
    bool listening = server.Start(address, 8014) == 8014;
    web.Start();
    PointAtStandIns(app, address, web.Port());
    return listening;
  }
};

}  // namespace client_test
