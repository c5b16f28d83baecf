// The client socket: defaults, one report of the end of each session, the banner, and the
// synchronous wait.
#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/rtl/MessagePump.h"
#include "socket/AsyncClientSocket.h"
#include "tests/socket/LoopbackPeer.h"
#include "tests/support/TestSupport.h"

using namespace socket_test;
using testing_support::PumpFor;
using testing_support::PumpUntil;

TEST(ClientSocket, Defaults) {
  TAsyncClientSocket s(nullptr);
  EXPECT_EQ(s.State(), wsClosed);
  EXPECT_EQ(s.Proto(), "tcp");
  EXPECT_EQ(s.LineEnd(), "\r\n");
  EXPECT_FALSE(s.LineMode());
  EXPECT_EQ(s.LineLimit(), 65536);
  EXPECT_EQ(s.LocalAddr(), "0.0.0.0");
  EXPECT_EQ(s.LingerOnOff(), wsLingerOn);
  EXPECT_EQ(s.ListenBacklog(), 5);
  EXPECT_EQ(s.SocksLevel(), "5");
  EXPECT_EQ(s.PeerAddr(), "error");
  EXPECT_TRUE(s.InheritsFrom("TCustomAsyncSocket"));
  EXPECT_EQ(s.ClassName(), "TAsyncClientSocket");
}

// Each connection's end is reported once, also the second connection's.
TEST(ClientSocket, EndOfEachSessionIsReportedOnce) {
  TAsyncClientSocket client(nullptr);
  std::vector<int> closed;
  client.OnSessionClosed = [&](TObject*, uint16_t e) { closed.push_back(e); };
  client.OnBgException = [](TObject*, const std::exception&, bool&) {};
  for (int session = 1; session <= 2; ++session) {
    LoopbackPeer peer([](SOCKET s) { SendAll(s, "x"); });
    std::string got;
    client.OnDataAvailable = [&](TObject*, uint16_t) { got += client.ReceiveStr(); };
    client.SetProto("tcp");
    client.SetPort(peer.Port());
    client.SetAddr("127.0.0.1");
    client.SetLineMode(false);
    client.Connect();
    ASSERT_TRUE(PumpUntil([&] { return (int)closed.size() == session; })) << session;
    PumpFor(100);
    client.Close();
    EXPECT_EQ(got, "x");
    EXPECT_EQ((int)closed.size(), session);
  }
}

TEST(ClientSocket, SendBanner) {
  std::string got;
  LoopbackPeer peer([&](SOCKET s) { got = RecvAll(s); });
  TAsyncClientSocket client(nullptr);
  client.SetAddr("127.0.0.1");
  client.SetPort(peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
  client.SendBanner();  // empty: nothing
  client.SetBanner("Karv ready");
  client.SendBanner();
  client.Close();
  ASSERT_TRUE(PumpUntil([&] { return peer.Done(); }));
  EXPECT_EQ(got, "Karv ready\r\n");
}

namespace {
// The wait's time-out is internal; a test sets it through a subclass.
class TimedSocket : public TAsyncClientSocket {
 public:
  TimedSocket(int ms) : TAsyncClientSocket(nullptr) { timeout_ = ms; }
};
}  // namespace

TEST(ClientSocket, WaitForDone) {
  LoopbackPeer peer([](SOCKET s) { RecvAll(s); });
  TAsyncClientSocket client(nullptr);
  bool done = true;
  EXPECT_EQ(client.WaitForDone(done), 0);

  client.OnSessionConnected = [&](TObject*, uint16_t) { done = true; };
  client.SetAddr("127.0.0.1");
  client.SetPort(peer.Port());
  EXPECT_EQ(client.RunAndWait(TWaitProc([&] { client.Connect(); }), done), 0);
  EXPECT_EQ(client.State(), wsConnected);
  client.Close();

  TimedSocket timed(200);
  bool never = false;
  DWORD start = GetTickCount();
  EXPECT_EQ(timed.WaitForDone(never), WSA_WSOCKET_TIMEOUT);
  EXPECT_GE(GetTickCount() - start, 150u);

  // Without a time-out the wait ends when the program is told to quit: seen by the socket's
  // own pump, or by the application's, which installs itself as the pump when it is made.
  TAsyncClientSocket own(nullptr);
  own.SetMultiThreaded(true);
  PostQuitMessage(0);
  EXPECT_EQ(own.WaitForDone(never), WSA_WSOCKET_TIMEOUT);
  EXPECT_TRUE(own.Terminated());

  TApplication app;
  Application = &app;
  TAsyncClientSocket plain(nullptr);
  PostQuitMessage(0);
  EXPECT_EQ(plain.WaitForDone(never), WSA_WSOCKET_TIMEOUT);
  EXPECT_TRUE(app.Terminated());
  EXPECT_FALSE(plain.Terminated());
  Application = nullptr;
}

// A wait pumps through whatever pump is installed; only its installer takes it back.
TEST(ClientSocket, WaitsPumpThroughTheInstalledPump) {
  struct CountingPump : IMessagePump {
    int& calls;
    explicit CountingPump(int& n) : calls(n) {}
    void ProcessMessages() override {
      ++calls;
      message_pump::PumpWaitingMessages(true);
    }
    bool Terminated() const override { return false; }
    HWND Handle() const override { return nullptr; }
  };
  int calls = 0, owner = 0, other = 0;
  message_pump::InstallPump(&owner, std::make_unique<CountingPump>(calls));
  TimedSocket timed(100);
  bool never = false;
  EXPECT_EQ(timed.WaitForDone(never), WSA_WSOCKET_TIMEOUT);
  EXPECT_GT(calls, 0);
  message_pump::RemovePump(&other);
  EXPECT_NE(message_pump::InstalledPump(), nullptr);
  message_pump::RemovePump(&owner);
  EXPECT_EQ(message_pump::InstalledPump(), nullptr);
  // Without one the default answers: no owner window for message boxes.
  EXPECT_EQ(message_pump::Pump().Handle(), nullptr);
}
