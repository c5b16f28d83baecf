// The listening side: accepting a TCP connection into a client socket, and UDP datagrams.
#include <gtest/gtest.h>

#include <memory>

#include "socket/AsyncClientSocket.h"
#include "tests/socket/LoopbackPeer.h"
#include "tests/support/TestSupport.h"

using socket_test::ErrorOf;
using testing_support::PumpUntil;

TEST(Listen, AcceptsIntoAClientSocketThatGreetsAndCachesItsPeer) {
  TAsyncSocket server(nullptr);
  server.SetProto("tcp");
  server.SetAddr("127.0.0.1");
  server.SetPort("0");
  std::unique_ptr<TAsyncClientSocket> accepted;
  std::string atServer;
  server.OnSessionAvailable = [&](TObject*, uint16_t e) {
    ASSERT_EQ(e, 0);
    accepted = std::make_unique<TAsyncClientSocket>(nullptr);
    accepted->OnDataAvailable = [&](TObject*, uint16_t) { atServer += accepted->ReceiveStr(); };
    accepted->Dup(server.Accept());
    accepted->SetBanner("welcome");
    accepted->SendBanner();
  };
  server.Listen();
  ASSERT_EQ(server.State(), wsListening);
  std::string port = server.GetLocalPortText();
  ASSERT_NE(port, "0");

  TAsyncClientSocket client(nullptr);
  std::string atClient;
  client.OnDataAvailable = [&](TObject*, uint16_t) { atClient += client.ReceiveStr(); };
  client.SetAddr("127.0.0.1");
  client.SetPort(port);
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return atClient == "welcome\r\n"; }));
  client.SendStr("ping");
  ASSERT_TRUE(PumpUntil([&] { return atServer == "ping"; }));
  EXPECT_EQ(accepted->State(), wsConnected);
  EXPECT_EQ(accepted->PeerAddr(), "127.0.0.1");
  EXPECT_EQ(accepted->PeerPort(), client.GetLocalPortText());

  bool closed = false;
  accepted->OnSessionClosed = [&](TObject*, uint16_t) { closed = true; };
  client.Close();
  ASSERT_TRUE(PumpUntil([&] { return closed; }));
  EXPECT_EQ(accepted->PeerAddr(), "127.0.0.1");  // cached past the end of the session
  EXPECT_EQ(ErrorOf([&] { client.Accept(); }), "Error 10022 in function not a listening socket\r\nInvalid argument");
}

TEST(Listen, RefusesWithoutPortOrThroughSocks) {
  TAsyncSocket s(nullptr);
  s.SetAddr("127.0.0.1");
  EXPECT_EQ(ErrorOf([&] { s.Listen(); }), "Error 10022 in function listen: port not assigned\r\nInvalid argument");
  s.SetPort("0");
  s.SetSocksServer("127.0.0.1");
  EXPECT_EQ(ErrorOf([&] { s.Listen(); }), "Listening is not supported thru socks server");
}

TEST(Listen, UdpDatagrams) {
  TAsyncSocket receiver(nullptr);
  int connected = -1;
  receiver.OnSessionConnected = [&](TObject*, uint16_t e) { connected = e; };
  std::string got, fromPort;
  receiver.OnDataAvailable = [&](TObject*, uint16_t) {
    char buf[100];
    sockaddr_in from{};
    int len = sizeof from;
    int n = receiver.ReceiveFrom(buf, sizeof buf, from, len);
    if (n > 0) {
      got.assign(buf, n);
      fromPort = std::to_string(ntohs(from.sin_port));
    }
  };
  receiver.SetProto("udp");
  receiver.SetAddr("127.0.0.1");
  receiver.SetPort("0");
  receiver.Listen();
  EXPECT_EQ(connected, 0);
  EXPECT_EQ(receiver.State(), wsConnected);

  TAsyncSocket sender(nullptr);
  int sent = -1;
  sender.OnSessionConnected = [&](TObject*, uint16_t e) { sent = e; };
  sender.SetProto("udp");
  sender.SetAddr("127.0.0.1");
  sender.SetPort(receiver.GetLocalPortText());
  sender.Connect();
  EXPECT_EQ(sent, 0);  // at once: a datagram socket has nothing to wait for
  EXPECT_EQ(sender.State(), wsConnected);
  EXPECT_EQ(sender.SendStr("dgram"), 5);
  ASSERT_TRUE(PumpUntil([&] { return got == "dgram"; }));
  EXPECT_EQ(fromPort, sender.LocalPort());
}
