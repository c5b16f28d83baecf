// Resolution of hosts, ports and protocols, and the texts of WinSock errors.
#include <gtest/gtest.h>

#include "socket/AsyncSocket.h"
#include "tests/socket/LoopbackPeer.h"

using socket_test::ErrorOf;

TEST(SocketNames, DottedAddressTest) {
  struct { const char* text; bool dotted; } cases[] = {
      {"127.0.0.1", true}, {"  10.1.2.3 ", true}, {"255.255.255.255", true}, {"0.0.0.0", true},
      {"256.1.1.1", false}, {"1.2.3", false}, {"1.2.3.4.5", false}, {"1..2.3", false},
      {"1.2.3.4x", false}, {"a.b.c.d", false}, {"", false}, {"1. 2.3.4", false}};
  for (auto& c : cases) EXPECT_EQ(IsDottedAddress(c.text), c.dotted) << c.text;
}

TEST(SocketNames, ResolveHost) {
  EXPECT_EQ(SocketResolveHost("127.0.0.1"), htonl(INADDR_LOOPBACK));
  EXPECT_EQ(SocketResolveHost(" 127.0.0.1 "), htonl(INADDR_LOOPBACK));
  EXPECT_EQ(SocketResolveHost("255.255.255.255"), INADDR_BROADCAST);
  EXPECT_EQ(SocketResolveHost("localhost"), htonl(INADDR_LOOPBACK));
  EXPECT_EQ(ErrorOf([] { SocketResolveHost(""); }), "SocketResolveHost: '' Invalid Hostname.");
  std::string longName(257, 'a');
  EXPECT_EQ(ErrorOf([&] { SocketResolveHost(longName); }), "SocketResolveHost: '" + longName + "' Invalid Hostname.");
}

TEST(SocketNames, ResolvePortAndProto) {
  EXPECT_EQ(SocketResolvePort("8014", "tcp"), 8014);
  EXPECT_EQ(SocketResolvePort(" 80x", "tcp"), 80);
  EXPECT_EQ(SocketResolvePort("http", "tcp"), 80);
  EXPECT_EQ(ErrorOf([] { SocketResolvePort("", "tcp"); }), "SocketResolvePort: Invalid Port.");
  EXPECT_EQ(ErrorOf([] { SocketResolvePort("70000", "tcp"); }), "SocketResolvePort: Invalid Port.");
  EXPECT_EQ(ErrorOf([] { SocketResolvePort("80", ""); }), "SocketResolvePort: Invalid Proto.");
  EXPECT_NE(ErrorOf([] { SocketResolvePort("no-such-service-x", "tcp"); }).find("Cannot convert port 'no-such-service-x'"),
            std::string::npos);

  EXPECT_EQ(SocketResolveProto("tcp"), 6);
  EXPECT_EQ(SocketResolveProto("UDP"), 17);
  EXPECT_EQ(SocketResolveProto("raw"), 255);
  EXPECT_EQ(SocketResolveProto("17"), 17);
  EXPECT_EQ(ErrorOf([] { SocketResolveProto(std::string(32, 'x')); }), "SocketResolveProto: Invalid Protocol.");
}

TEST(SocketNames, ErrorTexts) {
  EXPECT_EQ(SocketErrorDesc(0), "No Error");
  EXPECT_EQ(SocketErrorDesc(10061), "Connection refused");
  EXPECT_EQ(SocketErrorDesc(11004), "No Data");
  EXPECT_EQ(SocketErrorDesc(12345), "Not a WinSock error");
}
