// Every reply body from the stand-in server to the client's events over a real loopback
// connection, read back with the client's readers; all frames arrive in one write.
#include <functional>

#include "platform/rtl/SysUtils.h"
#include "socket/AsyncClientSocket.h"
#include "tests/net/NetFixture.h"

namespace {

TFriendRecord Record(uint32_t number, const std::string& nick, uint8_t state) {
  return stub::SampleFriend(number, "公司", nick, state);
}

void ExpectSame(const TFriendRecord& a, const TFriendRecord& b) { EXPECT_EQ(a.Raw(), b.Raw()); }

// The text of the length-prefixed string at `p`, and a little-endian u32.
std::string Prefixed(const uint8_t* p) { return std::string((const char*)p + 1, p[0]); }
uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// A 200-byte friend record of Record(number, nick, state) as the layout places it: company
// (length byte and 49) at 0, number text (1 and 29) at 50, number at 84, nickname at 88, web
// address at 118, e-mail at 148, state at 178, flag text (1 and 20) at 179.
void ExpectRecordAt(const uint8_t* r, uint32_t number, const std::string& nick, uint8_t state) {
  EXPECT_EQ(Prefixed(r + 0), "公司" + std::to_string(number));
  EXPECT_EQ(Prefixed(r + 50), std::to_string(number));
  EXPECT_EQ(U32(r + 84), number);
  EXPECT_EQ(Prefixed(r + 88), nick);
  EXPECT_EQ(Prefixed(r + 118), "http://w.example");
  EXPECT_EQ(Prefixed(r + 148), "e@w.example");
  EXPECT_EQ(r[178], state);
  EXPECT_EQ(Prefixed(r + 179), "01");
}

struct ReplyCase {
  uint8_t proto;
  std::string body;
  std::function<void(const TBody&)> check;
};

}  // namespace

class ReplyBodies : public NetTest {};

TEST_F(ReplyBodies, ReachTheirEventsAndReadBackAsSent) {
  using namespace stub;
  const TDateTime when = 45123.75;
  TLoginReply login{0, "演示一号", 10001, 1, "http://www.demo.example", "2.0.0.1", "卡维尔", "010-1", "010-2",
                    "a@demo.example", "x"};
  std::vector<TWaitingMessage> waiting = {{"您好，请问", "800123", when}, {"在吗", "800124", when + 1}};
  TStoredRequest stored;
  stored.Requester = 10003;
  stored.Time = when;
  stored.Text = "请加我";
  stored.Record = Record(10003, "三号", 1);
  TOfflineMessage offline{10002, when, "离线消息", 0, "宋体", 11, 0x00FF8040};
  TRegionTables regions{{{1, 0, 11, "北京"}}, {{1, 11, 1101, "北京市"}, {2, 11, 1102, "县"}}, {}};
  std::vector<TCategoryEntry> categories = {{1, 1, -1, "机械"}, {2, 101, 1, "机床"}};
  std::string formatted = BuildFormattedText(12, "宋体", 0xFF, "你好");

  const ReplyCase cases[] = {
      {proto::ChatMsg, ChatBody(0, 1, formatted, "10002", when),
       [&](const TBody& b) {
         TChatMessage m = ParseChatMessage(b);
         EXPECT_EQ(m.OfflineFlag, 0);
         EXPECT_EQ(m.SenderKind, 1);
         EXPECT_EQ(m.Sender, "10002");
         EXPECT_EQ(m.Time, when);
         TFormattedText f = ParseFormattedText(m.Formatted, false);
         EXPECT_EQ(f.FontSize, 12);
         EXPECT_EQ(f.FontName, "宋体");
         EXPECT_EQ(f.Colour, 0xFFu);
         EXPECT_EQ(f.Text, "你好");
       }},
      {proto::Login, LoginReplyBody(login),
       [&](const TBody& b) {
         TLoginReply r = ParseLoginReply(b);
         EXPECT_EQ(r.Result, 0);
         EXPECT_EQ(r.OwnName, login.OwnName);
         EXPECT_EQ(r.Value, 10001u);
         EXPECT_EQ(r.UpdateFlag, 1);
         EXPECT_EQ(r.SiteUrl, login.SiteUrl);
         EXPECT_EQ(r.NewestVersion, "2.0.0.1");
         EXPECT_EQ(r.Company, "卡维尔");
         EXPECT_EQ(r.Phone, "010-1");
         EXPECT_EQ(r.Fax, "010-2");
         EXPECT_EQ(r.Email, login.Email);
         EXPECT_EQ(r.Extra, "x");
       }},
      {proto::CustomerList, CustomerListBody({5, 70000}),
       [](const TBody& b) { EXPECT_EQ(ParseCustomerList(b), (std::vector<uint32_t>{5, 70000})); }},
      {proto::CustomerLeft, CustomerLeftBody("800123"), [](const TBody& b) { EXPECT_EQ(ParseCustomerLeft(b), "800123"); }},
      {proto::CustomerOffLineMsg, WaitingMessagesBody(1, waiting),
       [&](const TBody& b) {
         TWaitingMessages w = ParseWaitingMessages(b);
         EXPECT_EQ(w.Flag, 1);
         ASSERT_EQ(w.Items.size(), 2u);
         EXPECT_EQ(w.Items[1].Text, "在吗");
         EXPECT_EQ(w.Items[1].Sender, "800124");
         EXPECT_EQ(w.Items[1].Time, when + 1);
       }},
      {proto::FriendList, FriendListBody({Record(10002, "二号", 1), Record(10003, "三号", 0)}),
       [](const TBody& b) {
         std::vector<TFriendRecord> v = ParseFriendList(b);
         ASSERT_EQ(v.size(), 2u);
         ExpectSame(v[0], Record(10002, "二号", 1));
         ExpectSame(v[1], Record(10003, "三号", 0));
         ASSERT_EQ(b.Size, 401u);  // a count byte, then 200-byte records
         EXPECT_EQ(b.Data[0], 2);
         ExpectRecordAt(b.Data + 1, 10002, "二号", 1);
         ExpectRecordAt(b.Data + 201, 10003, "三号", 0);
       }},
      {proto::FriendOnline, FriendRecordBody(Record(10002, "二号", 1)),
       [](const TBody& b) {
         ExpectSame(ParseFriendRecord(b), Record(10002, "二号", 1));
         ASSERT_EQ(b.Size, 200u);
         ExpectRecordAt(b.Data, 10002, "二号", 1);
       }},
      {proto::FriendOffline, AccountBody(10002), [](const TBody& b) { EXPECT_EQ(ParseAccount(b), 10002u); }},
      {proto::FindFriend, FriendListBody({Record(10004, "四号", 0)}),
       [](const TBody& b) {
         std::vector<TFriendRecord> v = ParseFriendList(b);
         ASSERT_EQ(v.size(), 1u);
         EXPECT_EQ(v[0].NickName(), "四号");
         ASSERT_EQ(b.Size, 201u);
         EXPECT_EQ(b.Data[0], 1);
         ExpectRecordAt(b.Data + 1, 10004, "四号", 0);
       }},
      {proto::FindFriend, FriendListBody({}),
       [](const TBody& b) {
         EXPECT_TRUE(ParseFriendList(b).empty());
         ASSERT_EQ(b.Size, 1u);
         EXPECT_EQ(b.Data[0], 0);
       }},
      {proto::AlreadyFriend, AccountBody(10002), [](const TBody& b) { EXPECT_EQ(ParseAccount(b), 10002u); }},
      {proto::FriendRequest, FriendRequestBody("我是三号", Record(10003, "三号", 1)),
       [](const TBody& b) {
         TFriendRequest q = ParseFriendRequest(b);
         EXPECT_EQ(q.Text, "我是三号");
         ExpectSame(q.Requester, Record(10003, "三号", 1));
         ASSERT_EQ(b.Size, 209u);  // the text as a wire string, then the record
         EXPECT_EQ(Prefixed(b.Data), "我是三号");
         ExpectRecordAt(b.Data + 9, 10003, "三号", 1);
       }},
      {proto::FriendRefuse, AccountBody(10003), [](const TBody& b) { EXPECT_EQ(ParseAccount(b), 10003u); }},
      {proto::AddFriendToList, FriendRecordBody(Record(10003, "三号", 1)),
       [](const TBody& b) {
         EXPECT_EQ(ParseFriendRecord(b).NickName(), "三号");
         ASSERT_EQ(b.Size, 200u);
         ExpectRecordAt(b.Data, 10003, "三号", 1);
       }},
      {proto::OffLineFriendRequests, StoredRequestsBody({stored, stored}),
       [&](const TBody& b) {
         std::vector<TStoredRequest> v = ParseStoredRequests(b);
         ASSERT_EQ(v.size(), 2u);
         EXPECT_EQ(v[1].Requester, 10003u);
         EXPECT_EQ(v[1].Time, when);
         EXPECT_EQ(v[1].Text, "请加我");
         ExpectSame(v[1].Record, stored.Record);
         EXPECT_EQ(v[1].Raw[12], 6);  // the text's length byte
         EXPECT_EQ(v[1].Raw[167], stored.Record.Raw()[0]);
       }},
      {proto::EnterpriseOffLineMsg, OfflineMessagesBody({offline}),
       [&](const TBody& b) {
         std::vector<TOfflineMessage> v = ParseOfflineMessages(b);
         ASSERT_EQ(v.size(), 1u);
         EXPECT_EQ(v[0].Sender, 10002u);
         EXPECT_EQ(v[0].Time, when);
         EXPECT_EQ(v[0].Text, "离线消息");
         EXPECT_EQ(v[0].FontName, "宋体");
         EXPECT_EQ(v[0].FontSize, 11);
         EXPECT_EQ(v[0].Colour, 0x00FF8040u);
         // the entry as the main window reads it by offset
         const uint8_t* e = b.Data + 1;
         EXPECT_EQ(e[16], uint8_t("离"[0]));
         EXPECT_EQ(e[517], uint8_t("宋"[0]));
         EXPECT_EQ(e[568], 11);
         EXPECT_EQ(e[572], 0x40);
       }},
      {proto::DeleteFriend, AccountBody(10002), [](const TBody& b) { EXPECT_EQ(ParseAccount(b), 10002u); }},
      {proto::StateInfo, RegionTablesBody(regions),
       [](const TBody& b) {
         TRegionTables t = ParseRegionTables(b);
         ASSERT_EQ(t.Provinces.size(), 1u);
         ASSERT_EQ(t.Cities.size(), 2u);
         EXPECT_TRUE(t.Districts.empty());
         EXPECT_EQ(t.Cities[1].Parent, 11u);
         EXPECT_EQ(t.Cities[1].Own, 1102u);
         EXPECT_EQ(t.Cities[1].Name, "县");
         // Three u32 counts, each followed by 33-byte entries: value at 0, parent at 4, own at
         // 8, the name (length byte and 20) at 12.
         ASSERT_EQ(b.Size, 4u + 33 + 4 + 66 + 4);
         EXPECT_EQ(U32(b.Data), 1u);
         EXPECT_EQ(U32(b.Data + 4), 1u);
         EXPECT_EQ(U32(b.Data + 8), 0u);
         EXPECT_EQ(U32(b.Data + 12), 11u);
         EXPECT_EQ(Prefixed(b.Data + 16), "北京");
         EXPECT_EQ(U32(b.Data + 37), 2u);
         EXPECT_EQ(U32(b.Data + 74), 2u);
         EXPECT_EQ(U32(b.Data + 78), 11u);
         EXPECT_EQ(U32(b.Data + 82), 1102u);
         EXPECT_EQ(Prefixed(b.Data + 86), "县");
         EXPECT_EQ(U32(b.Data + 107), 0u);
       }},
      {proto::CategoryInfo, CategoryTableBody(categories),
       [](const TBody& b) {
         std::vector<TCategoryEntry> v = ParseCategoryTable(b);
         ASSERT_EQ(v.size(), 2u);
         EXPECT_EQ(v[0].Parent, -1);
         EXPECT_EQ(v[1].Own, 101u);
         EXPECT_EQ(v[1].Name, "机床");
         // A u32 count, then 63-byte entries: value at 0, own at 4, parent at 8, the name
         // (length byte and 50) at 12.
         ASSERT_EQ(b.Size, 4u + 2 * 63);
         EXPECT_EQ(U32(b.Data), 2u);
         EXPECT_EQ(U32(b.Data + 4), 1u);
         EXPECT_EQ(U32(b.Data + 8), 1u);
         EXPECT_EQ(U32(b.Data + 12), 0xFFFFFFFFu);
         EXPECT_EQ(Prefixed(b.Data + 16), "机械");
         EXPECT_EQ(U32(b.Data + 67), 2u);
         EXPECT_EQ(U32(b.Data + 71), 101u);
         EXPECT_EQ(U32(b.Data + 75), 1u);
         EXPECT_EQ(Prefixed(b.Data + 79), "机床");
       }},
      {proto::TradeSave, TradeResultBody(1), [](const TBody& b) { EXPECT_EQ(ParseTradeResult(b), 1); }},
  };

  TServiceClient& client = NewClient();
  FrameLog log;
  log.Hook(client);
  ASSERT_TRUE(Connect(client));
  std::string all;
  for (const ReplyCase& k : cases) all += Frame(k.proto, k.body);
  ASSERT_TRUE(server_.SendTo(server_.Connections(), all));
  ASSERT_TRUE(testing_support::PumpUntil([&] { return log.frames.size() == std::size(cases); }));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(int(cases[i].proto));
    ASSERT_EQ(uint8_t(log.frames[i][1]), cases[i].proto);  // in arrival order
    EXPECT_EQ(log.frames[i], Frame(cases[i].proto, cases[i].body));
    cases[i].check(log.Body(i));
  }
  EXPECT_FALSE(Logged("协议号"));
}

TEST_F(ReplyBodies, RegistrationReplyIsParsedByTheClient) {
  TServiceClient& client = NewClient();
  ASSERT_TRUE(Connect(client));
  std::vector<std::tuple<int, uint32_t, std::string>> got;
  client.OnRegisterReply = TRegisterEvent(
      [&](TObject*, uint8_t result, uint32_t account, const std::string& text) { got.emplace_back(result, account, text); });
  server_.SendTo(server_.Connections(), stub::Frame(proto::Register, stub::RegisterReplyBody({0, 10077, 10078, "注册成功"})));
  ASSERT_TRUE(testing_support::PumpUntil([&] { return got.size() == 1; }));
  EXPECT_EQ(got[0], std::make_tuple(0, 10078u, std::string("注册成功")));
  EXPECT_EQ(client.NewAccount, 10077u);
}

TEST_F(ReplyBodies, KickedOffClosesTheSocketBeforeTheEvent) {
  TServiceClient& client = NewClient();
  ASSERT_TRUE(Connect(client));
  int closed = 0, kicked = 0;
  TSocketState stateAtEvent = wsInvalidState;
  client.OnClose = TNotifyEvent([&](TObject*) { ++closed; });
  client.OnKickedOff = TPacketEvent([&](TObject*, const uint8_t*, int32_t) {
    ++kicked;
    stateAtEvent = client.Socket().State();
  });
  server_.SendTo(server_.Connections(), stub::Frame(proto::KickedOff, ""));
  ASSERT_TRUE(testing_support::PumpUntil([&] { return kicked == 1; }));
  EXPECT_EQ(stateAtEvent, wsClosed);
  EXPECT_EQ(closed, 1);
}

TEST_F(ReplyBodies, AFrameSplitAtEveryByteOverTheSocketIsActedOnOnce) {
  TServiceClient& client = NewClient();
  FrameLog log;
  log.Hook(client);
  ASSERT_TRUE(Connect(client));
  const std::string frame = stub::Frame(proto::FriendOnline, stub::FriendRecordBody(Record(10002, "二号", 1)));
  const int conn = server_.Connections();
  for (size_t cut = 0; cut <= frame.size(); ++cut) {
    server_.SendTo(conn, "\x13junk" + frame.substr(0, cut));
    testing_support::PumpFor(2);
    server_.SendTo(conn, frame.substr(cut));
  }
  size_t expected = frame.size() + 1;
  ASSERT_TRUE(testing_support::PumpUntil([&] { return log.frames.size() == expected; }));
  testing_support::PumpFor(50);
  EXPECT_EQ(log.frames.size(), expected);
  for (const std::string& f : log.frames) EXPECT_EQ(f, frame);
}
