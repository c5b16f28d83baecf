// Every request body as the stand-in server receives it over a real loopback connection:
// the layout byte for byte, the length field counting the bytes before the conversion to
// UTF-8, and the conversion undone.
#include <functional>

#include "core/MD5.h"
#include "core/uSettings.h"
#include "platform/rtl/SysUtils.h"
#include "tests/net/NetFixture.h"

namespace {

std::string Ws(const std::string& s) { return std::string(1, char(s.size())) + s; }
std::string U32(uint32_t v) {
  return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

struct RequestCase {
  const char* name;
  std::function<void(TServiceClient&)> send;
  uint8_t proto;
  std::string body;
};

TTradeInfo SampleTrade() {
  TTradeInfo t;
  t.Category = "1";
  t.Title = std::string(150, 'T');  // cut to 100
  t.Name = "数控机床";
  t.Province = "广东";
  t.City = "深圳市";
  t.District = "南山区";
  t.MainCategory = "机械";
  t.SubCategory = "机床";
  t.Validity = "90";
  t.Price = "面议";
  t.Packing = "木箱";
  t.Quantity = "";  // sent as "0"
  t.ProductSpecs = "X-1";
  t.Description = "说明";
  t.ContactName = "张三";
  t.Company = "卡维尔演示一公司";
  t.Phone = "010-12345678";
  t.Fax = "010-12345679";
  t.Email = "one@demo.example";
  t.WebAddress = "http://demo.example";
  t.OwnAccount = "10001";
  return t;
}

// The trade record as laid out by hand from its offset table.
std::string SampleTradeBytes() {
  std::string b(1401, '\0');
  auto put = [&](size_t at, const std::string& s) {
    b[at] = char(s.size());
    b.replace(at + 1, s.size(), s);
  };
  put(0, "1");
  put(11, std::string(100, 'T'));
  put(112, "数控机床");
  put(313, "广东");
  put(334, "深圳市");
  put(375, "南山区");
  put(426, "机械");
  put(477, "机床");
  put(528, "90");
  put(539, "面议");
  put(590, "木箱");
  put(641, "0");
  put(652, "X-1");
  b.replace(703, 4, "说明");
  put(1204, "张三");
  put(1225, "卡维尔演示一公司");
  put(1276, "010-12345678");
  put(1327, "010-12345679");
  put(1348, "one@demo.example");
  put(1369, "http://demo.example");
  put(1390, "10001");
  return b;
}

}  // namespace

class RequestBodies : public NetTest {};

TEST_F(RequestBodies, ArriveAtTheServerExactlyAsLaidOut) {
  const std::string demoHash = MD5Print(MD5String("demo"));
  TFriendRecord target;
  target.SetNumber(10003);
  target.SetNumberText("ignored");
  const RequestCase cases[] = {
      {"login with the program's version 1.2.300.4", [&](TServiceClient& c) { c.SendLogin("10001", demoHash); }, proto::Login,
       Ws("10001") + Ws(demoHash) + "\x01\x02\x2C\x04"},
      {"chat, empty font name, content ab",
       [](TServiceClient& c) {
         c.ChatKind = 1;
         ChatSendInfo = {"10002", "ab", "10001", "", 10, 0x0000FF};
         c.SendChatMsg();
       },
       proto::ChatSend, "\x01" + Ws("10002") + Ws("10001") + U32(12) + "\x0A" + Ws("") + U32(0xFF) + U32(2) + "ab"},
      {"chat in Chinese to a customer",
       [](TServiceClient& c) {
         c.ChatKind = 0;
         ChatSendInfo = {"700", "你好", "10001", "宋体", 12, 0};
         c.SendChatMsg();
       },
       proto::ChatSend, B("\x00", 1) + Ws("700") + Ws("10001") + U32(18) + "\x0C" + Ws("宋体") + U32(0) + U32(4) + "你好"},
      {"registration with the password hashed",
       [](TServiceClient& c) {
         RegisterInfo = {"新公司", "客服", "secret", "a@b.example", "http://b.example", "00-11-22-33-44-55"};
         c.SendRegister();
       },
       proto::Register,
       Ws("新公司") + Ws("客服") + Ws(MD5Print(MD5String("secret"))) + Ws("a@b.example") + Ws("http://b.example") +
           Ws("00-11-22-33-44-55")},
      {"keep-alive", [](TServiceClient& c) { c.SendProtocol34(); }, proto::KeepAlive, ""},
      {"find by account: mode 1", [](TServiceClient& c) { c.SendFindFriend("10002", ""); }, proto::FindFriend,
       "\x01" + Ws("10002") + Ws("")},
      {"find by company: mode 0", [](TServiceClient& c) { c.SendFindFriend("", "演示"); }, proto::FindFriend,
       B("\x00", 1) + Ws("") + Ws("演示")},
      {"find by both: mode 2", [](TServiceClient& c) { c.SendFindFriend("10002", "演示"); }, proto::FindFriend,
       "\x02" + Ws("10002") + Ws("演示")},
      {"find by nothing: mode 0", [](TServiceClient& c) { c.SendFindFriend("", ""); }, proto::FindFriend, B("\x00\x00\x00", 3)},
      {"friend request names the record's number",
       [&](TServiceClient& c) { c.SendAddFriendRequest(target, "我是一号"); }, proto::AddFriendRequest, Ws("10003") + Ws("我是一号")},
      {"accept", [](TServiceClient& c) { c.SendFriendReply44("10003", "10001"); }, proto::FriendAccept, Ws("10003") + Ws("10001")},
      {"refuse", [](TServiceClient& c) { c.SendFriendReply45("10001", "10003"); }, proto::FriendRefuse, Ws("10001") + Ws("10003")},
      {"delete friend", [](TServiceClient& c) { c.SendDeleteFriend("10001", "10002"); }, proto::DeleteFriend,
       Ws("10001") + Ws("10002")},
      {"trade record",
       [](TServiceClient& c) {
         TradeInfo = SampleTrade();
         c.SendTradeInfo();
       },
       proto::TradeSave, SampleTradeBytes()},
  };
  TServiceClient& client = NewClient();
  ASSERT_TRUE(Connect(client));
  for (const RequestCase& k : cases) {
    size_t before = server_.CountOf(k.proto);
    k.send(client);
    ASSERT_TRUE(testing_support::PumpUntil([&] { return server_.CountOf(k.proto) > before; })) << k.name;
    stub::TDecodedFrame f = server_.RequestsOf(k.proto).back().Frame;
    EXPECT_EQ(f.Body, k.body) << k.name;
    EXPECT_EQ(f.LengthField, k.body.size()) << k.name;
    EXPECT_EQ(f.Wire, sys::AnsiToUtf8(k.body)) << k.name;
  }
  EXPECT_EQ(CurrentVersion, "1.2.300.4");
  EXPECT_EQ(server_.SkippedBytes(), 0u);
}

TEST_F(RequestBodies, TheLengthFieldCountsCodePage936BytesWhileUtf8Follows) {
  TServiceClient& client = NewClient();
  ASSERT_TRUE(Connect(client));
  client.ChatKind = 1;
  ChatSendInfo = {"10002", "汉字", "10001", "", 10, 0};
  client.SendChatMsg();
  ASSERT_TRUE(testing_support::PumpUntil([&] { return server_.CountOf(proto::ChatSend) == 1; }));
  stub::TDecodedFrame f = server_.RequestsOf(proto::ChatSend)[0].Frame;
  EXPECT_EQ(f.LengthField, f.Body.size());
  EXPECT_EQ(f.Wire.size(), f.Body.size() + 2);  // two characters: 2 bytes each, 3 in UTF-8
  EXPECT_EQ(client.SendStr, f.Wire);
  EXPECT_EQ(client.Status, "发送完成");
}

TEST_F(RequestBodies, ABodyOfSeveralPiecesArrivesWholeAndALongFontNameIsCut) {
  TServiceClient& client = NewClient();
  ASSERT_TRUE(Connect(client));
  // A 2608-byte frame leaves in pieces of 1000, 1000 and 608 bytes. (Its lengths keep
  // their low bytes below 0x80: a length byte that reads as the first byte of a two-byte
  // character does not survive the conversion to UTF-8.)
  std::string content(2320, 'x');
  client.ChatKind = 1;
  ChatSendInfo = {"10002", content, "10001", std::string(300, 'f'), 10, 0};
  client.SendChatMsg();
  ASSERT_TRUE(testing_support::PumpUntil([&] { return server_.CountOf(proto::ChatSend) == 1; }));
  std::string body = server_.RequestsOf(proto::ChatSend)[0].Frame.Body;
  // A 300-byte font name is cut at 255 bytes; the rest length counts what was sent.
  EXPECT_EQ(body.substr(13, 4), U32(255 + uint32_t(content.size()) + 10));
  EXPECT_EQ(uint8_t(body[18]), 255);
  EXPECT_EQ(body.size(), 2602u);
  EXPECT_EQ(body.substr(body.size() - content.size()), content);

}

TEST_F(RequestBodies, SendingWithoutAConnectionFailsQuietly) {
  TServiceClient& client = NewClient();
  EXPECT_FALSE(client.SendData(34, nullptr, 0));
  client.SendProtocol34();  // routines ignore the result
  EXPECT_EQ(client.SendTotal, 0);
}
