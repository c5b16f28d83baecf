// The asynchronous socket as a TCP client against a loopback peer, driven by the real
// message loop: connect, receive, the send queue, close, abort, errors and look-ups.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "socket/AsyncClientSocket.h"
#include "socket/WinSockApi.h"
#include "tests/socket/LoopbackPeer.h"
#include "tests/support/TestSupport.h"

using namespace socket_test;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

struct EventLog {
  std::vector<std::string> events;
  std::vector<TSocketState> states;
  int Count(const std::string& e) const { return (int)std::count(events.begin(), events.end(), e); }
  bool Has(const std::string& e) const { return Count(e) > 0; }
};

void Watch(TCustomAsyncSocket& s, EventLog& log) {
  s.OnSessionConnected = [&log](TObject*, uint16_t e) { log.events.push_back("connected " + std::to_string(e)); };
  s.OnSessionClosed = [&log](TObject*, uint16_t e) { log.events.push_back("closed " + std::to_string(e)); };
  s.OnChangeState = [&log](TObject*, TSocketState, TSocketState n) { log.states.push_back(n); };
}

void Aim(TCustomAsyncSocket& s, const std::string& addr, const std::string& port) {
  s.SetProto("tcp");
  s.SetAddr(addr);
  s.SetPort(port);
}

}  // namespace

TEST(AsyncSocket, ConnectsByAddressAndByNameAndExchangesBytes) {
  for (const char* host : {"127.0.0.1", "localhost"}) {
    std::string fromClient;
    LoopbackPeer peer([&](SOCKET s) {
      SendAll(s, "hello");
      fromClient = RecvAll(s);
    });
    TAsyncSocket client(nullptr);
    EventLog log;
    Watch(client, log);
    std::string received;
    client.OnDataAvailable = [&](TObject*, uint16_t) { received += client.ReceiveStr(); };
    Aim(client, host, peer.Port());
    client.Connect();
    EXPECT_EQ(client.State(), wsConnecting);
    ASSERT_TRUE(PumpUntil([&] { return received == "hello"; })) << host;
    EXPECT_EQ(log.events, std::vector<std::string>{"connected 0"});
    EXPECT_EQ(log.states, (std::vector<TSocketState>{wsOpened, wsConnecting, wsConnected}));
    EXPECT_EQ(client.PeerAddr(), "127.0.0.1");
    EXPECT_EQ(client.PeerPort(), peer.Port());
    EXPECT_EQ(client.ReadCount(), 5);

    EXPECT_EQ(client.Send("world", 5), 5);
    EXPECT_EQ(client.Send("x", 0), 0);
    client.Close();
    ASSERT_TRUE(PumpUntil([&] { return peer.Done(); }));
    EXPECT_EQ(fromClient, "world");
    EXPECT_EQ(log.events, (std::vector<std::string>{"connected 0", "closed 0"}));
    EXPECT_EQ(client.State(), wsClosed);
  }
}

TEST(AsyncSocket, RefusedConnectReportsTheErrorThenTheClose) {
  TAsyncSocket client(nullptr);
  EventLog log;
  Watch(client, log);
  Aim(client, "127.0.0.1", UnusedPort());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return log.Has("closed 0"); }));
  EXPECT_EQ(log.events, (std::vector<std::string>{"connected 10061", "closed 0"}));
  EXPECT_EQ(log.states.back(), wsClosed);
  PumpFor(100);
  EXPECT_EQ(log.events.size(), 2u);
}

// The kernel takes only part of a large send; the queue drains to a reader that starts late
// and reads slowly, and a close right after the queue empties still delivers every byte.
TEST(AsyncSocket, LargeSendDrainsThroughTheQueueInOrder) {
  const size_t total = 8 * 1024 * 1024;
  const std::string data = Pattern(total);
  std::string got;
  LoopbackPeer peer([&](SOCKET s) {
    Sleep(300);
    char buf[16384];
    for (int n; (n = ::recv(s, buf, sizeof buf, 0)) > 0;) {
      got.append(buf, n);
      if (got.size() % (1024 * 1024) < sizeof buf) Sleep(20);
    }
  });
  TAsyncSocket client(nullptr);
  EventLog log;
  Watch(client, log);
  int64_t sentTotal = 0;
  int32_t firstPiece = 0;
  bool drained = false;
  client.OnSendData = [&](TObject*, int32_t n) {
    if (!firstPiece) firstPiece = n;
    sentTotal += n;
  };
  client.OnDataSent = [&](TObject*, uint16_t) {
    if (sentTotal == (int64_t)total && !drained) {
      drained = true;
      client.Close();
    }
  };
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
  EXPECT_EQ(client.Send(data.data(), (int32_t)total), (int32_t)total);
  EXPECT_LT(firstPiece, (int32_t)total);  // the rest waited in the queue
  ASSERT_TRUE(PumpUntil([&] { return peer.Done(); }, 60000));
  EXPECT_TRUE(drained);
  EXPECT_EQ(sentTotal, (int64_t)total);
  ASSERT_EQ(got.size(), total);
  EXPECT_TRUE(got == data);
  EXPECT_EQ(log.Count("closed 0"), 1);
}

// Mend: the piece event used to fire before the untaken rest was queued (the first piece)
// and before the sent bytes left the queue (later pieces), so a handler that sends put its
// bytes in front of the rest or sent pending bytes twice.
TEST(AsyncSocket, MendAPieceHandlerThatSendsKeepsTheOrder) {
  const size_t total = 8 * 1024 * 1024;
  const std::string data = Pattern(total);
  std::string got;
  LoopbackPeer peer([&](SOCKET s) {
    Sleep(300);  // WinSock takes only part of the first send
    got = RecvAll(s);
  });
  TAsyncSocket client(nullptr);
  int pieces = 0;
  std::string marks;
  client.OnSendData = [&](TObject*, int32_t) {
    ++pieces;
    if (pieces > 2) return;
    std::string mark = pieces == 1 ? "<first>" : "<second>";
    marks += mark;
    client.SendStr(mark);
  };
  bool closed = false;
  client.OnDataSent = [&](TObject*, uint16_t) {
    if (pieces > 2 && !closed) {
      closed = true;
      client.Close();
    }
  };
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
  client.Send(data.data(), (int32_t)total);
  ASSERT_TRUE(PumpUntil([&] { return peer.Done(); }, 60000));
  EXPECT_EQ(marks, "<first><second>");
  ASSERT_EQ(got.size(), total + marks.size());
  EXPECT_TRUE(got == data + marks);
}

TEST(AsyncSocket, PeerCloseIsReportedOnceAfterTheLastBytes) {
  LoopbackPeer peer([](SOCKET s) { SendAll(s, "bye"); });
  TAsyncSocket client(nullptr);
  EventLog log;
  Watch(client, log);
  client.OnDataAvailable = [&](TObject*, uint16_t) {
    std::string s = client.ReceiveStr();
    if (!s.empty()) log.events.push_back("data " + s);
  };
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsClosed && log.events.size() >= 3; }));
  PumpFor(100);
  client.Close();
  EXPECT_EQ(log.events, (std::vector<std::string>{"connected 0", "data bye", "closed 0"}));
}

// A reset by the peer; the close handler still tries to send, which fails again.
TEST(AsyncSocket, ResetIsReportedOnceAlsoWhenTheCloseHandlerSends) {
  LoopbackPeer peer([](SOCKET s) {
    SendAll(s, "x");
    linger hard{1, 0};
    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
  });
  TAsyncSocket client(nullptr);
  EventLog log;
  Watch(client, log);
  client.OnError = [](TObject*) {};
  client.OnSessionClosed = [&](TObject*, uint16_t e) {
    log.events.push_back("closed");
    client.Send("late", 4);
  };
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return log.Has("closed"); }));
  PumpFor(200);
  EXPECT_EQ(log.Count("closed"), 1);
  EXPECT_EQ(client.State(), wsClosed);
}

TEST(AsyncSocket, LocalCloseAndAbortEachReportOnce) {
  for (bool abort : {false, true}) {
    LoopbackPeer peer([](SOCKET s) { RecvAll(s); });
    TAsyncSocket client(nullptr);
    EventLog log;
    Watch(client, log);
    Aim(client, "127.0.0.1", peer.Port());
    client.Connect();
    ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
    if (abort) client.Abort();
    else client.Close();
    client.Close();
    EXPECT_EQ(client.State(), wsClosed);
    ASSERT_TRUE(PumpUntil([&] { return peer.Done(); })) << abort;
    PumpFor(100);
    EXPECT_EQ(log.events, (std::vector<std::string>{"connected 0", "closed 0"})) << abort;
  }
}

TEST(AsyncSocket, SendWhileNotConnected) {
  LoopbackPeer peer([](SOCKET s) { RecvAll(s); });
  TAsyncSocket client(nullptr);
  EventLog log;
  Watch(client, log);
  int errors = 0;
  client.OnError = [&](TObject*) { ++errors; };
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  ASSERT_EQ(client.State(), wsConnecting);
  EXPECT_EQ(client.Send("x", 1), -1);  // still connecting: the loss code ends the attempt
  EXPECT_EQ(client.LastError(), 10057);
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(log.events, std::vector<std::string>{"closed 10057"});
  EXPECT_EQ(client.State(), wsClosed);

  TAsyncSocket idle(nullptr);
  EXPECT_EQ(ErrorOf([&] { idle.Send("x", 1); }), "Error 10057 in function Send\r\nSocket is not connected");
}

TEST(AsyncSocket, PortAndAddressMustBeSetAgainAfterClose) {
  LoopbackPeer peer([](SOCKET s) { RecvAll(s); });
  TAsyncSocket client(nullptr);
  EventLog log;
  Watch(client, log);
  EXPECT_EQ(ErrorOf([&] { client.Connect(); }), "Connect: No Port Specified");
  client.Close();  // never connected: only the defaults, no event
  EXPECT_TRUE(log.events.empty());

  Aim(client, "127.0.0.1", UnusedPort());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return log.Has("closed 0"); }));
  EXPECT_EQ(ErrorOf([&] { client.Connect(); }), "Connect: No Port Specified");
  client.SetPort(peer.Port());
  EXPECT_EQ(ErrorOf([&] { client.Connect(); }), "Connect: No IP Address Specified");
  client.SetAddr("127.0.0.1");  // the same text again is enough
  client.Connect();
  EXPECT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
  EXPECT_EQ(ErrorOf([&] { client.SetPort("1"); }), "Cannot change Port if not closed");
  EXPECT_EQ(ErrorOf([&] { client.Connect(); }), "Connect: Socket already in use");
}

// Mend: a step that fails right after the handle is made (here the connect call itself, which
// refuses a multicast or broadcast address at once) used to leave the socket opened, so its
// address could not be changed for the next attempt.
TEST(AsyncSocket, MendAConnectFailingAtOnceClosesItsSocketAgain) {
  struct Case {
    const char* addr;
    bool withOnError;
  } cases[] = {{"224.0.0.1", false}, {"224.0.0.1", true}, {"255.255.255.255", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.addr) + (c.withOnError ? " with OnError" : " raising"));
    LoopbackPeer peer([](SOCKET s) {
      SendAll(s, "ok");
      RecvAll(s);
    });
    TAsyncSocket client(nullptr);
    EventLog log;
    Watch(client, log);
    int errors = 0;
    if (c.withOnError) client.OnError = [&](TObject*) { ++errors; };
    Aim(client, c.addr, peer.Port());
    std::string error = ErrorOf([&] { client.Connect(); });
    if (c.withOnError) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(errors, 1);
      EXPECT_NE(client.LastError(), 0);
    } else {
      EXPECT_EQ(error.rfind("Error ", 0), 0u) << error;
      EXPECT_NE(error.find(" in function Connect\r\n"), std::string::npos) << error;
    }
    EXPECT_EQ(client.State(), wsClosed);
    EXPECT_EQ(client.HSocket(), INVALID_SOCKET);
    EXPECT_TRUE(log.events.empty());  // no session was ever up
    EXPECT_EQ(log.states, (std::vector<TSocketState>{wsOpened, wsClosed}));

    // The next attempt can be aimed and goes through.
    std::string received;
    client.OnDataAvailable = [&](TObject*, uint16_t) { received += client.ReceiveStr(); };
    EXPECT_EQ(ErrorOf([&] { Aim(client, "127.0.0.1", peer.Port()); }), "");
    client.Connect();
    EXPECT_TRUE(PumpUntil([&] { return received == "ok"; }));
    client.Close();
  }
}

namespace {
// Counts the data events inside each read notification.
class CountingSocket : public TAsyncSocket {
 public:
  using TAsyncSocket::TAsyncSocket;
  std::vector<int> callsPerNotification;
  int calls = 0;

 protected:
  void HandleFdRead(uint16_t e) override {
    int before = calls;
    TAsyncSocket::HandleFdRead(e);
    callsPerNotification.push_back(calls - before);
  }
};
}  // namespace

TEST(AsyncSocket, OneReadNotificationEmptiesTheSocket) {
  std::atomic<bool> sent{false};
  LoopbackPeer peer([&](SOCKET s) {
    SendAll(s, Pattern(5000));
    sent = true;
    RecvAll(s);
  });
  CountingSocket client(nullptr);
  std::string got;
  client.OnDataAvailable = [&](TObject*, uint16_t) {
    ++client.calls;
    char buf[1000];
    int n = client.Receive(buf, sizeof buf);
    if (n > 0) got.append(buf, n);
  };
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
  while (!sent) Sleep(10);
  Sleep(200);  // all 5000 bytes wait before the notification is handled
  ASSERT_TRUE(PumpUntil([&] { return got.size() == 5000; }));
  ASSERT_FALSE(client.callsPerNotification.empty());
  EXPECT_EQ(client.callsPerNotification[0], 5);
  EXPECT_EQ(got, Pattern(5000));
  client.Close();
}

TEST(AsyncSocket, BytesWithoutAHandlerAreDropped) {
  std::atomic<bool> next{false};
  LoopbackPeer peer([&](SOCKET s) {
    SendAll(s, "dropped");
    while (!next) Sleep(5);
    SendAll(s, "kept");
    RecvAll(s);
  });
  TAsyncSocket client(nullptr);
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  PumpFor(300);
  std::string got;
  client.OnDataAvailable = [&](TObject*, uint16_t) { got += client.ReceiveStr(); };
  next = true;
  ASSERT_TRUE(PumpUntil([&] { return got == "kept"; }));
  client.Close();
}

TEST(AsyncSocket, ReceiveStrWithNothingWaitingIsEmpty) {
  LoopbackPeer peer([](SOCKET s) { RecvAll(s); });
  TAsyncSocket client(nullptr);
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
  EXPECT_EQ(client.RcvdCount(), 0);
  EXPECT_EQ(client.ReceiveStr(), "");
  EXPECT_EQ(client.LastError(), WSAEWOULDBLOCK);
  client.Close();
}

TEST(AsyncSocket, ExceptionInDataHandlerEndsOnlyThatLoop) {
  std::atomic<bool> next{false};
  LoopbackPeer peer([&](SOCKET s) {
    SendAll(s, "one");
    while (!next) Sleep(5);
    SendAll(s, "two");
    RecvAll(s);
  });
  TAsyncSocket client(nullptr);
  EventLog log;
  Watch(client, log);
  bool bg = false;
  client.OnBgException = [&](TObject*, const std::exception&, bool&) { bg = true; };
  std::vector<std::string> got;
  client.OnDataAvailable = [&](TObject*, uint16_t) {
    std::string s = client.ReceiveStr();
    if (s.empty()) return;
    got.push_back(s);
    if (s == "one") throw Exception("handler failed");
  };
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return got.size() == 1; }));
  next = true;
  ASSERT_TRUE(PumpUntil([&] { return got.size() == 2; }));
  EXPECT_EQ(got[1], "two");
  EXPECT_FALSE(bg);
  EXPECT_EQ(client.State(), wsConnected);
  client.Close();
}

TEST(AsyncSocket, ExceptionInOtherHandlersGoesToTheBackgroundHandler) {
  LoopbackPeer peer([](SOCKET s) { RecvAll(s); });
  TAsyncSocket client(nullptr);
  EventLog log;
  std::vector<std::string> bg;
  bool allowClose = false;
  client.OnBgException = [&](TObject*, const std::exception& e, bool& canClose) {
    bg.push_back(e.what());
    canClose = allowClose;
  };
  Aim(client, "127.0.0.1", peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
  PostMessageA(client.Handle(), WM_TRIGGER_EXCEPTION, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return bg.size() == 1; }));
  EXPECT_EQ(bg[0], "Test exception in AsyncSocket");
  EXPECT_EQ(client.State(), wsConnected);  // the handler kept it open

  allowClose = true;
  PostMessageA(client.Handle(), WM_TRIGGER_EXCEPTION, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return bg.size() == 2; }));
  EXPECT_EQ(client.State(), wsClosed);
  ASSERT_TRUE(PumpUntil([&] { return peer.Done(); }));

  // An exception out of OnSessionConnected aborts, and the close is reported.
  LoopbackPeer peer2([](SOCKET s) { RecvAll(s); });
  Watch(client, log);
  client.OnSessionConnected = [&](TObject*, uint16_t) { throw Exception("connect handler failed"); };
  Aim(client, "127.0.0.1", peer2.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return log.Has("closed 0"); }));
  EXPECT_EQ(bg.back(), "connect handler failed");
  EXPECT_EQ(client.State(), wsClosed);
}

TEST(AsyncSocket, NameLookups) {
  TAsyncSocket s(nullptr);
  std::vector<int> done;
  s.OnDnsLookupDone = [&](TObject*, uint16_t e) { done.push_back(e); };
  s.DnsLookup("localhost");
  EXPECT_TRUE(done.empty());  // answered later, through the window
  ASSERT_TRUE(PumpUntil([&] { return done.size() == 1; }));
  EXPECT_EQ(done[0], 0);
  EXPECT_EQ(s.DnsResult(), "127.0.0.1");
  EXPECT_GE(s.DnsResultList().IndexOf("127.0.0.1"), 0);

  s.DnsLookup("10.1.2.3");  // a dotted address is answered at once
  ASSERT_EQ(done.size(), 2u);
  EXPECT_EQ(s.DnsResult(), "10.1.2.3");
  EXPECT_EQ(s.DnsResultList().Count(), 1);

  s.ReverseDnsLookup("127.0.0.1");
  ASSERT_TRUE(PumpUntil([&] { return done.size() == 3; }));
  EXPECT_EQ(done[2], 0);
  EXPECT_EQ(s.DnsResult(), "localhost");

  EXPECT_EQ(ErrorOf([&] { s.DnsLookup(""); }), "DNS lookup: invalid host name.");
  s.OnError = [](TObject*) {};
  s.DnsLookup("");
  s.ReverseDnsLookup("");
  EXPECT_EQ(done, (std::vector<int>{0, 0, 0, 10022, 10022}));

  s.DnsLookup("localhost");
  s.CancelDnsLookup();
  EXPECT_EQ(done.back(), 10004);
  PumpFor(200);  // the cancelled reply, if any, is not reported
  EXPECT_EQ(done.size(), 6u);
}

TEST(AsyncSocket, WinSockIsLoadedOnFirstUseAndUnloadedWithTheLastSocket) {
  {
    TAsyncSocket s(nullptr);
    SocketResolveHost("127.0.0.1");
    EXPECT_TRUE(wsapi::Loaded());
    EXPECT_NE(ErrorOf([&] { s.SetReqVerHigh(2); }).find("SetReqVerHigh: WinSock version can't be changed now"),
              std::string::npos);
  }
  EXPECT_FALSE(wsapi::Loaded());
  TAsyncSocket again(nullptr);
  EXPECT_EQ(SocketResolveHost("127.0.0.1"), htonl(INADDR_LOOPBACK));
}

TEST(AsyncSocket, PostedCloseAndFree) {
  LoopbackPeer peer([](SOCKET s) { RecvAll(s); });
  TComponent owner(nullptr);
  auto* s = New<TAsyncSocket>(&owner);
  EventLog log;
  Watch(*s, log);
  Aim(*s, "127.0.0.1", peer.Port());
  s->Connect();
  ASSERT_TRUE(PumpUntil([&] { return s->State() == wsConnected; }));
  s->PostClose();
  EXPECT_EQ(s->State(), wsConnected);  // later, from the message loop
  ASSERT_TRUE(PumpUntil([&] { return log.Has("closed 0"); }));
  s->PostFree();
  ASSERT_TRUE(PumpUntil([&] { return owner.ComponentCount() == 0; }));
}

// Mend: the hidden window is a top-level window, so any program can post the close-later and
// free-later numbers to it; a stray free-later destroyed a socket that its owner still held.
TEST(AsyncSocket, MendStrayCloseAndFreeMessagesAreIgnored) {
  struct Watched : TAsyncSocket {
    bool& gone;
    explicit Watched(bool& g) : TAsyncSocket(nullptr), gone(g) {}
    ~Watched() override { gone = true; }
  };
  LoopbackPeer peer([](SOCKET s) { RecvAll(s); });
  bool gone = false;
  auto s = std::make_unique<Watched>(gone);
  EventLog log;
  Watch(*s, log);
  Aim(*s, "127.0.0.1", peer.Port());
  s->Connect();
  ASSERT_TRUE(PumpUntil([&] { return s->State() == wsConnected; }));
  for (LPARAM junk : {LPARAM(0), LPARAM(1), LPARAM(0x1234)}) {
    PostMessageA(s->Handle(), WM_CLOSE_DELAYED, 0, junk);
    PostMessageA(s->Handle(), WM_FREE_DELAYED, 0, junk);
  }
  PumpFor(100);
  if (gone) {
    (void)s.release();  // already destroyed by the stray message
    FAIL() << "a stray free-later message destroyed the socket";
  }
  EXPECT_EQ(s->State(), wsConnected);
  EXPECT_EQ(log.events, std::vector<std::string>{"connected 0"});
  s->Close();
}
