// SOCKS 4, 4A and 5 against a small proxy run by the test: the request bytes, success with
// application bytes behind the reply, rejection, and user/password authentication.
#include <gtest/gtest.h>

#include "socket/AsyncClientSocket.h"
#include "tests/socket/LoopbackPeer.h"
#include "tests/support/TestSupport.h"

using namespace socket_test;
using testing_support::PumpUntil;

namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s += (char)c;
  return s;
}

// A client aimed at target:port through the proxy `peer`, with every SOCKS event recorded.
struct SocksClient {
  TAsyncSocket socket{nullptr};
  std::vector<std::string> events;
  std::string data;
  SocksClient(const LoopbackPeer& peer, const std::string& level, const std::string& target, const std::string& port) {
    socket.SetSocksServer("127.0.0.1");
    socket.SetSocksPort(peer.Port());
    socket.SetSocksLevel(level);
    socket.SetAddr(target);
    socket.SetPort(port);
    socket.OnSocksConnected = [this](TObject*, uint16_t e) { events.push_back("socks connected " + std::to_string(e)); };
    socket.OnSocksError = [this](TObject*, int32_t e, const std::string& m) {
      events.push_back("error " + std::to_string(e) + " " + m);
    };
    socket.OnSocksAuthState = [this](TObject*, TSocksAuthState s) { events.push_back("auth " + std::to_string(s)); };
    socket.OnSessionConnected = [this](TObject*, uint16_t e) { events.push_back("connected " + std::to_string(e)); };
    socket.OnSessionClosed = [this](TObject*, uint16_t e) { events.push_back("closed " + std::to_string(e)); };
    socket.OnDataAvailable = [this](TObject*, uint16_t) { data += socket.ReceiveStr(); };
  }
  bool Has(const std::string& e) const { return std::find(events.begin(), events.end(), e) != events.end(); }
};

const std::string kTarget = "example.test";  // sent as a name, never looked up here
const std::string kConnect5 = Bytes({5, 1, 0, 3, 12}) + kTarget + Bytes({0x1F, 0x4E});  // port 8014

}  // namespace

TEST(Socks, Socks5WithoutAuthenticationPassesTheBytesBehindTheReply) {
  std::string request, after;
  LoopbackPeer peer([&](SOCKET s) {
    request = RecvN(s, 3);
    SendAll(s, Bytes({5, 0}));
    request += RecvN(s, kConnect5.size());
    SendAll(s, Bytes({5, 0, 0, 1, 10, 0, 0, 7, 0x12, 0x34}) + "app-bytes");
    after = RecvN(s, 4);
  });
  SocksClient c(peer, "5", kTarget, "8014");
  c.socket.Connect();
  ASSERT_TRUE(PumpUntil([&] { return c.data == "app-bytes"; }));
  EXPECT_EQ(c.events, (std::vector<std::string>{"socks connected 0", "connected 0"}));
  EXPECT_EQ(c.socket.BoundAddr(), "10.0.0.7");
  EXPECT_EQ(c.socket.BoundPort(), "4660");
  c.socket.SendStr("ping");
  ASSERT_TRUE(PumpUntil([&] { return peer.Done(); }));
  EXPECT_EQ(request, Bytes({5, 1, 0}) + kConnect5);
  EXPECT_EQ(after, "ping");
  c.socket.Close();
}

// A reply whose bound name is longer than a small receive area would hold.
TEST(Socks, Socks5ReplyWithLongBoundName) {
  std::string name(200, 'n');
  LoopbackPeer peer([&](SOCKET s) {
    RecvN(s, 3);
    SendAll(s, Bytes({5, 0}));
    RecvN(s, kConnect5.size());
    SendAll(s, Bytes({5, 0, 0, 3, 200}) + name + Bytes({0, 80}));
    RecvAll(s);
  });
  SocksClient c(peer, "5", kTarget, "8014");
  c.socket.Connect();
  ASSERT_TRUE(PumpUntil([&] { return c.Has("connected 0") || c.Has("closed 0"); }));
  EXPECT_EQ(c.events, (std::vector<std::string>{"socks connected 0", "connected 0"}));
  EXPECT_EQ(c.socket.BoundAddr(), name);
  EXPECT_EQ(c.socket.BoundPort(), "80");
  c.socket.Close();
}

TEST(Socks, Socks5Failures) {
  struct Case {
    std::string methodReply, connectReply;
    int code;
    std::string text;
  } cases[] = {
      {Bytes({5, 0xFF}), "", 20003, "authentication method not acceptable"},
      {Bytes({4, 0}), "", 20002, "socks version error"},
      {Bytes({5, 0}), Bytes({5, 5, 0, 1, 0, 0, 0, 0, 0, 0}), 20008, "connection refused"},
      {Bytes({5, 0}), Bytes({5, 1, 0, 1, 0, 0, 0, 0, 0, 0}), 20004, "general SOCKS server failure"},
      {Bytes({5, 0}), Bytes({5, 9, 0, 1, 0, 0, 0, 0, 0, 0}), 20012, "unassigned error #9"},
      {Bytes({5, 0}), Bytes({5, 0, 0, 4, 0}), 20011, "address type not supported"},
  };
  for (const Case& k : cases) {
    LoopbackPeer peer([&](SOCKET s) {
      RecvN(s, 3);
      SendAll(s, k.methodReply);
      if (!k.connectReply.empty()) {
        RecvN(s, kConnect5.size());
        SendAll(s, k.connectReply);
      }
      RecvAll(s);
    });
    SocksClient c(peer, "5", kTarget, "8014");
    c.socket.Connect();
    std::string closed = "closed " + std::to_string(k.code);
    ASSERT_TRUE(PumpUntil([&] { return c.Has(closed); })) << k.text;
    EXPECT_EQ(c.events, (std::vector<std::string>{"socks connected 0", "error " + std::to_string(k.code) + " " + k.text,
                                                  "connected " + std::to_string(k.code), closed}));
    EXPECT_EQ(c.socket.State(), wsClosed);
  }
}

TEST(Socks, Socks5UserAndPassword) {
  for (int status : {0, 1}) {
    std::string auth;
    LoopbackPeer peer([&](SOCKET s) {
      if (RecvN(s, 3) != Bytes({5, 1, 2})) return;
      SendAll(s, Bytes({5, 2}));
      auth = RecvN(s, 1 + 1 + 4 + 1 + 6);
      SendAll(s, Bytes({1, status}));
      if (status == 0) {
        RecvN(s, kConnect5.size());
        SendAll(s, Bytes({5, 0, 0, 1, 127, 0, 0, 1, 0, 1}));
      }
      RecvAll(s);
    });
    SocksClient c(peer, "5", kTarget, "8014");
    c.socket.SetSocksAuthentication(socksAuthenticateUsercode);
    c.socket.SetSocksUsercode("user");
    c.socket.SetSocksPassword("secret");
    c.socket.Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("connected 0") || c.Has("closed 20015"); }));
    EXPECT_EQ(auth, Bytes({1, 4}) + "user" + Bytes({6}) + "secret");
    if (status == 0) {
      EXPECT_EQ(c.events, (std::vector<std::string>{"socks connected 0", "auth 0", "auth 1", "connected 0"}));
    } else {
      EXPECT_EQ(c.events, (std::vector<std::string>{"socks connected 0", "auth 0",
                                                    "error 20015 socks authentication failed", "connected 20015",
                                                    "closed 20015"}));
    }
    c.socket.Close();
  }
}

TEST(Socks, Socks4And4A) {
  struct Case {
    std::string level, target, request;
    int reply;
    std::string outcome;
  } cases[] = {
      {"4", "127.0.0.1", Bytes({4, 1, 0, 80, 127, 0, 0, 1}) + "bob" + Bytes({0}), 90, "connected 0"},
      {"4a", "host.test", Bytes({4, 1, 0, 80, 0, 0, 0, 1}) + "bob" + Bytes({0}) + "host.test" + Bytes({0}), 90,
       "connected 0"},
      {"4", "127.0.0.1", Bytes({4, 1, 0, 80, 127, 0, 0, 1}) + "bob" + Bytes({0}), 91, "closed 20016"},
      {"4", "127.0.0.1", Bytes({4, 1, 0, 80, 127, 0, 0, 1}) + "bob" + Bytes({0}), 92, "closed 20008"},
  };
  for (const Case& k : cases) {
    std::string request;
    LoopbackPeer peer([&](SOCKET s) {
      request = RecvN(s, k.request.size());
      // The application's first bytes travel in the same segment as the reply.
      SendAll(s, Bytes({0, k.reply, 0, 0, 0, 0, 0, 0}) + "hello");
      RecvAll(s);
    });
    SocksClient c(peer, k.level, k.target, "80");
    c.socket.SetSocksUsercode("bob");
    c.socket.Connect();
    ASSERT_TRUE(PumpUntil([&] { return c.Has(k.outcome); })) << k.level << " " << k.reply;
    EXPECT_EQ(request, k.request) << k.level;
    if (k.reply == 90) {
      ASSERT_TRUE(PumpUntil([&] { return c.data == "hello"; }));
      EXPECT_EQ(c.socket.SocksLevel(), k.level == "4a" ? "4A" : k.level);
    }
    c.socket.Close();
  }
}

TEST(Socks, SettersCheckTheirValues) {
  TAsyncSocket s(nullptr);
  int errors = 0;
  s.OnError = [&](TObject*) { ++errors; };
  s.SetSocksLevel("6");
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(s.SocksLevel(), "5");
  s.OnError = nullptr;
  try {
    s.SetSocksLevel("x");
    FAIL();
  } catch (const ESocketException& e) {
    EXPECT_EQ(e.Message(), "Invalid socks level. Must be 4, 4A or 5.");
  }
  s.SetSocksServer("  127.0.0.1 ");
  EXPECT_EQ(s.SocksServer(), "127.0.0.1");

  // A proxy without a port is an error, not a direct connection to the target.
  s.SetAddr("127.0.0.1");
  s.SetPort("80");
  try {
    s.Connect();
    FAIL();
  } catch (const ESocketException& e) {
    EXPECT_EQ(e.Message(), "SocketResolvePort: Invalid Port.");
  }
  EXPECT_EQ(s.State(), wsClosed);
}

// Mend: a proxy offered only "no authentication" that answered with the password method was
// sent the user name and password anyway.
TEST(Socks, MendAProxyThatPicksAMethodNotOfferedGetsNoPassword) {
  std::string offered, after;
  LoopbackPeer peer([&](SOCKET s) {
    offered = RecvN(s, 3);
    SendAll(s, Bytes({5, 2}));
    after = RecvAll(s);
  });
  SocksClient c(peer, "5", kTarget, "8014");
  c.socket.SetSocksUsercode("user");
  c.socket.SetSocksPassword("secret");
  c.socket.Connect();
  ASSERT_TRUE(PumpUntil([&] { return c.Has("closed 20003") || c.Has("connected 0"); }));
  ASSERT_TRUE(PumpUntil([&] { return peer.Done(); }));
  EXPECT_EQ(offered, Bytes({5, 1, 0}));
  EXPECT_EQ(after, "");
  EXPECT_EQ(c.events, (std::vector<std::string>{"socks connected 0", "error 20003 authentication method not acceptable",
                                                "connected 20003", "closed 20003"}));
}

// Mend: a failed negotiation closed the socket after its connect handler had run, so a handler
// that gave up on the proxy and connected directly lost its new connection at once.
TEST(Socks, MendAConnectHandlerThatConnectsAgainAfterAFailureKeepsItsNewSocket) {
  LoopbackPeer proxy([&](SOCKET s) {
    RecvN(s, 3);
    SendAll(s, Bytes({5, 0xFF}));
    RecvAll(s);
  });
  std::string atDirect;
  LoopbackPeer direct([&](SOCKET s) { atDirect = RecvAll(s); });
  SocksClient c(proxy, "5", kTarget, "8014");
  c.socket.OnSessionConnected = [&](TObject*, uint16_t e) {
    c.events.push_back("connected " + std::to_string(e));
    if (e == 0) return;
    c.socket.Close();
    c.socket.SetAddr("127.0.0.1");
    c.socket.SetPort(direct.Port());
    c.socket.Connect();
  };
  c.socket.Connect();
  ASSERT_TRUE(PumpUntil([&] { return c.Has("connected 0") || c.events.size() > 4; }));
  EXPECT_EQ(c.events, (std::vector<std::string>{"socks connected 0", "error 20003 authentication method not acceptable",
                                                "connected 20003", "closed 0", "connected 0"}));
  EXPECT_EQ(c.socket.State(), wsConnected);
  EXPECT_EQ(c.socket.SendStr("direct"), 6);
  c.socket.Close();
  ASSERT_TRUE(PumpUntil([&] { return direct.Done(); }));
  EXPECT_EQ(atDirect, "direct");
}
