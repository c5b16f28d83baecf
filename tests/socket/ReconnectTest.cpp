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
