// Line mode: lines split across reads, the line-length limit, switching the mode off, the
// last line at the end of a session, editing with echo, and sending lines.
#include <gtest/gtest.h>

#include <atomic>

#include "socket/AsyncClientSocket.h"
#include "tests/socket/LoopbackPeer.h"
#include "tests/support/TestSupport.h"

using namespace socket_test;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

// A line-mode client whose data handler collects what each call reads.
struct LineClient {
  TAsyncSocket socket{nullptr};
  std::vector<std::string> reads;
  explicit LineClient(const std::string& port) {
    socket.SetAddr("127.0.0.1");
    socket.SetPort(port);
    socket.SetLineMode(true);
    socket.OnDataAvailable = [this](TObject*, uint16_t) {
      std::string s = socket.ReceiveStr();
      if (!s.empty()) reads.push_back(s);
    };
  }
};

}  // namespace

TEST(LineSocket, LineEndSplitAcrossReadsIsFound) {
  LoopbackPeer peer([](SOCKET s) {
    SendAll(s, "ab");
    Sleep(300);
    SendAll(s, "\r\ncd\r\n");
    RecvAll(s);
  });
  LineClient c(peer.Port());
  c.socket.Connect();
  PumpFor(150);
  EXPECT_TRUE(c.reads.empty());  // no line yet
  ASSERT_TRUE(PumpUntil([&] { return c.reads.size() == 2; }));
  EXPECT_EQ(c.reads, (std::vector<std::string>{"ab\r\n", "cd\r\n"}));
  c.socket.Close();
}

TEST(LineSocket, LineLimitDropsTheHeldBytes) {
  std::atomic<bool> next{false};
  LoopbackPeer peer([&](SOCKET s) {
    SendAll(s, std::string(70000, 'x'));
    while (!next) Sleep(5);
    SendAll(s, "ok\r\n");
    RecvAll(s);
  });
  LineClient c(peer.Port());
  std::vector<int32_t> exceeded;
  c.socket.OnLineLimitExceeded = [&](TObject*, int32_t held, bool& clear) {
    exceeded.push_back(held);
    EXPECT_TRUE(clear);
  };
  c.socket.Connect();
  ASSERT_TRUE(PumpUntil([&] { return !exceeded.empty(); }));
  EXPECT_GT(exceeded[0], 65536);
  EXPECT_LE(exceeded[0], 70000);
  PumpFor(200);
  next = true;
  ASSERT_TRUE(PumpUntil([&] { return c.reads.size() == 1; }));
  EXPECT_EQ(c.reads[0], "ok\r\n");
  c.socket.Close();
}

TEST(LineSocket, SwitchingModeOffHandsOutTheRestAsData) {
  LoopbackPeer peer([](SOCKET s) {
    SendAll(s, "one\r\ntwo\r\nthree");
    RecvAll(s);
  });
  LineClient c(peer.Port());
  c.socket.OnDataAvailable = [&](TObject*, uint16_t) {
    std::string s = c.socket.ReceiveStr();
    if (s.empty()) return;
    c.reads.push_back(s);
    if (s == "one\r\n") c.socket.SetLineMode(false);
  };
  c.socket.Connect();
  ASSERT_TRUE(PumpUntil([&] {
    std::string all;
    for (auto& r : c.reads) all += r;
    return all == "one\r\ntwo\r\nthree";
  }));
  EXPECT_EQ(c.reads[0], "one\r\n");
  PumpFor(100);
  c.socket.Close();
}

TEST(LineSocket, SessionEndDeliversTheLastPartialLine) {
  LoopbackPeer peer([](SOCKET s) { SendAll(s, "first\r\ntail"); });
  LineClient c(peer.Port());
  bool closed = false;
  c.socket.OnSessionClosed = [&](TObject*, uint16_t) {
    c.reads.push_back("<closed>");
    closed = true;
  };
  c.socket.Connect();
  ASSERT_TRUE(PumpUntil([&] { return closed; }));
  EXPECT_EQ(c.reads, (std::vector<std::string>{"first\r\n", "tail", "<closed>"}));
}

TEST(LineSocket, EditingWithEcho) {
  std::string echo;
  LoopbackPeer peer([&](SOCKET s) {
    SendAll(s, "ab\bc\td\r\n");
    echo = RecvN(s, 17);
    RecvAll(s);
  });
  LineClient c(peer.Port());
  c.socket.SetLineEdit(true);
  c.socket.SetLineEcho(true);
  c.socket.Connect();
  ASSERT_TRUE(PumpUntil([&] { return c.reads.size() == 1; }));
  EXPECT_EQ(c.reads[0], "ac      d\r\n");
  c.socket.Close();
  ASSERT_TRUE(PumpUntil([&] { return peer.Done(); }));
  EXPECT_EQ(echo, "ab\b \bc      d\r\n");
}

TEST(LineSocket, SendLine) {
  std::string got;
  LoopbackPeer peer([&](SOCKET s) { got = RecvAll(s); });
  TAsyncSocket client(nullptr);
  client.SetAddr("127.0.0.1");
  client.SetPort(peer.Port());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
  EXPECT_EQ(client.SendLine(""), 0);
  EXPECT_EQ(client.SendLine("abc"), 5);
  client.SetLineEnd("\n");
  EXPECT_EQ(client.SendLine("de"), 4);  // length plus 2, whatever the line end
  client.Close();
  ASSERT_TRUE(PumpUntil([&] { return peer.Done(); }));
  EXPECT_EQ(got, "abc\r\nde\n");
}

// Mend: with OnError assigned a line sent while not connected was reported as sent.
TEST(LineSocket, MendALineSentWithoutAConnectionIsNotReportedAsSent) {
  TAsyncSocket client(nullptr);
  int errors = 0;
  client.OnError = [&](TObject*) { ++errors; };
  EXPECT_EQ(client.SendLine("abc"), -1);
  EXPECT_EQ(errors, 1);  // reported once, for the text; the line end is not tried
  EXPECT_EQ(client.LastError(), WSAENOTCONN);
}
