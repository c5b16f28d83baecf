// A close handler that connects again: the socket it opened is the socket from then on. Each
// case ends a session in its own way, reconnects from OnSessionClosed to a second peer, and
// checks that the new session connects, carries bytes and ends once.
#include <gtest/gtest.h>

#include <functional>

#include "socket/AsyncClientSocket.h"
#include "tests/socket/LoopbackPeer.h"
#include "tests/support/TestSupport.h"

using namespace socket_test;
using testing_support::PumpUntil;

namespace {

void Aim(TCustomAsyncSocket& s, const std::string& port) {
  s.SetProto("tcp");
  s.SetAddr("127.0.0.1");
  s.SetPort(port);
}

}  // namespace

TEST(AsyncSocketReconnect, AHandlerThatConnectsAgainKeepsItsNewSocket) {
  struct Case {
    const char* what;
    bool waitConnected;                           // end the first session once connected
    std::function<void(TAsyncSocket&)> endFirst;  // how the first session ends
  } cases[] = {
      {"closed by the program", true, [](TAsyncSocket& s) { s.Close(); }},
      {"a send before the connection is made", false,
       [](TAsyncSocket& s) { EXPECT_EQ(s.Send("x", 1), -1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoopbackPeer first([](SOCKET s) { RecvAll(s); });
    std::string atSecond;
    LoopbackPeer second([&](SOCKET s) { atSecond = RecvAll(s); });
    TAsyncSocket client(nullptr);
    int closes = 0, connects = 0;
    client.OnSessionClosed = [&](TObject*, uint16_t) {
      if (++closes > 1) return;
      Aim(client, second.Port());
      client.Connect();
    };
    client.OnSessionConnected = [&](TObject*, uint16_t e) {
      if (e == 0) ++connects;
    };
    Aim(client, first.Port());
    client.Connect();
    if (c.waitConnected) {
      ASSERT_TRUE(PumpUntil([&] { return connects == 1; }));
    }
    c.endFirst(client);
    ASSERT_EQ(closes, 1);
    EXPECT_NE(client.State(), wsClosed);
    ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
    EXPECT_EQ(client.PeerPort(), second.Port());
    EXPECT_EQ(client.Send("again", 5), 5);
    client.Close();
    ASSERT_TRUE(PumpUntil([&] { return second.Done(); }));
    EXPECT_EQ(atSecond, "again");
    EXPECT_EQ(closes, 2);  // the second session reports its own end
  }
}

// Mend: after a failed connect the socket was closed once its connect handler returned,
// checked only by the handle's value, which WinSock hands out again: a handler that closed
// and connected elsewhere lost its new connection.
TEST(AsyncSocketReconnect, MendAConnectHandlerThatConnectsAgainAfterARefusalKeepsItsNewSocket) {
  std::string atLive;
  LoopbackPeer live([&](SOCKET s) { atLive = RecvAll(s); });
  TAsyncSocket client(nullptr);
  std::vector<std::string> events;
  client.OnSessionClosed = [&](TObject*, uint16_t e) { events.push_back("closed " + std::to_string(e)); };
  client.OnSessionConnected = [&](TObject*, uint16_t e) {
    events.push_back("connected " + std::to_string(e));
    if (e == 0) return;
    client.Close();
    Aim(client, live.Port());
    client.Connect();
  };
  Aim(client, UnusedPort());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected || events.size() > 3; }));
  EXPECT_EQ(events, (std::vector<std::string>{"connected 10061", "closed 0", "connected 0"}));
  EXPECT_EQ(client.SendStr("live"), 4);
  client.Close();
  ASSERT_TRUE(PumpUntil([&] { return live.Done(); }));
  EXPECT_EQ(atLive, "live");
}
