// A frame leaves the client in pieces of at most 1000 bytes, each handed to the socket in
// order, and arrives whole.
#include <gtest/gtest.h>

#include "socket/AsyncClientSocket.h"
#include "tests/net/NetFixture.h"

class SendPieces : public NetTest {};

TEST_F(SendPieces, A2500ByteFrameLeavesAs1000And1000And500) {
  TServiceClient& client = NewClient();
  ASSERT_TRUE(Connect(client));
  std::vector<int32_t> pieces;
  client.Socket().OnSendData = [&](TObject*, int32_t n) { pieces.push_back(n); };
  const std::string body(2500 - 6, 'x');
  ASSERT_TRUE(client.SendData(34, body.data(), int32_t(body.size())));
  EXPECT_EQ(pieces, (std::vector<int32_t>{1000, 1000, 500}));
  EXPECT_EQ(client.SendTotal, 0);
  EXPECT_EQ(client.Status, "发送完成");
  ASSERT_TRUE(testing_support::PumpUntil([&] { return server_.CountOf(proto::KeepAlive) == 1; }));
  EXPECT_EQ(server_.RequestsOf(proto::KeepAlive)[0].Frame.Body, body);
}
