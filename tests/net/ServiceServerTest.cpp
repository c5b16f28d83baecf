// The stand-in server's answers, seen from real clients: login results and the update flag,
// what follows a login, chat between two accounts, offline and waiting messages, friend
// search, requests and answers, presence, registration and trade postings.
#include "core/MD5.h"
#include "platform/rtl/SysUtils.h"
#include "socket/AsyncClientSocket.h"
#include "tests/net/NetFixture.h"

using testing_support::PumpUntil;

namespace {

// A logged-in client whose received frames are recorded.
struct Session {
  TServiceClient* client = nullptr;
  FrameLog log;
};

}  // namespace

class StandIn : public NetTest {
 protected:
  Session& Open(const std::string& account, const std::string& password = "demo") {
    sessions_.push_back(std::make_unique<Session>());
    Session& s = *sessions_.back();
    s.client = &NewClient();
    EXPECT_EQ(Login(*s.client, account, password), 0) << account;
    s.log.Hook(*s.client);
    return s;
  }
  bool Await(Session& s, uint8_t proto, size_t count = 1) {
    return PumpUntil([&] { return s.log.Of(proto).size() >= count; });
  }
  static TBody BodyOf(const std::string& frame) {
    return TBody::OfFrame((const uint8_t*)frame.data(), int64_t(frame.size()));
  }
  std::vector<std::unique_ptr<Session>> sessions_;
};

TEST_F(StandIn, LoginAnswersEachResultAndTheUpdateFlag) {
  struct Case {
    const char* name;
    std::string account, password, newest;
    uint8_t refuse;
    int result, update;
  };
  // The client sends version 1.2.300.4 as the bytes 1, 2, 44, 4.
  const Case cases[] = {
      {"success", "10001", "demo", "", 0, 0, 0},
      {"unknown account", "99999", "demo", "", 0, 1, 0},
      {"wrong password", "10001", "Demo", "", 0, 2, 0},
      {"account refused", "10002", "demo", "", 7, 7, 0},
      {"newer version on the server", "10001", "demo", "1.2.301.0", 0, 0, 1},
      {"same version", "10001", "demo", "1.2.300.4", 0, 0, 0},
      {"older version on the server", "10001", "demo", "1.1.0.0", 0, 0, 0},
  };
  for (const Case& k : cases) {
    server_.Edit([&](stub::TServiceData& d) {
      d.NewestVersion = k.newest;
      if (stub::TAccount* a = d.Find(k.account)) a->LoginResult = k.refuse;
    });
    TServiceClient& c = NewClient();
    FrameLog log;
    log.Hook(c);
    ASSERT_TRUE(Connect(c));
    c.SendLogin(k.account, MD5Print(MD5String(k.password)));
    ASSERT_TRUE(PumpUntil([&] { return !log.Of(proto::Login).empty(); })) << k.name;
    TLoginReply r = ParseLoginReply(BodyOf(log.Of(proto::Login)[0]));
    EXPECT_EQ(r.Result, k.result) << k.name;
    EXPECT_EQ(r.UpdateFlag, k.update) << k.name;
    if (k.result == 0) {
      EXPECT_EQ(r.OwnName, "演示一号") << k.name;
      EXPECT_EQ(r.SiteUrl, "http://www.demo-one.example") << k.name;
      EXPECT_EQ(r.NewestVersion, k.newest) << k.name;
    }
    server_.Edit([&](stub::TServiceData& d) {
      if (stub::TAccount* a = d.Find(k.account)) a->LoginResult = 0;
    });
  }
}

TEST_F(StandIn, ALoginIsFollowedByFriendsTablesAndPresence) {
  Session& one = Open("10001");
  ASSERT_TRUE(Await(one, proto::FriendList));
  ASSERT_TRUE(Await(one, proto::CategoryInfo));
  std::vector<TFriendRecord> friends = ParseFriendList(BodyOf(one.log.Of(proto::FriendList)[0]));
  ASSERT_EQ(friends.size(), 1u);
  EXPECT_EQ(friends[0].Number(), 10002u);
  EXPECT_EQ(friends[0].State(), 0);
  EXPECT_EQ(ParseRegionTables(BodyOf(one.log.Of(proto::StateInfo)[0])).Cities.size(), 3u);
  EXPECT_EQ(ParseCategoryTable(BodyOf(one.log.Of(proto::CategoryInfo)[0])).size(), 4u);

  Session& two = Open("10002");
  ASSERT_TRUE(Await(one, proto::FriendOnline));
  TFriendRecord online = ParseFriendRecord(BodyOf(one.log.Of(proto::FriendOnline)[0]));
  EXPECT_EQ(online.Number(), 10002u);
  EXPECT_EQ(online.State(), 1);
  EXPECT_EQ(online.NickName(), "演示二号");

  two.client->Socket().Close();
  ASSERT_TRUE(Await(one, proto::FriendOffline));
  EXPECT_EQ(ParseAccount(BodyOf(one.log.Of(proto::FriendOffline)[0])), 10002u);
}

TEST_F(StandIn, ChatReachesTheReceiverOrWaitsForItsNextLogin) {
  Session& one = Open("10001");
  Session& two = Open("10002");
  one.client->ChatKind = 1;
  ChatSendInfo = {"10002", "你好，二号", "10001", "宋体", 12, 0x00FF0000};
  one.client->SendChatMsg();
  ASSERT_TRUE(Await(two, proto::ChatMsg));
  TChatMessage m = ParseChatMessage(BodyOf(two.log.Of(proto::ChatMsg)[0]));
  EXPECT_EQ(m.OfflineFlag, 0);
  EXPECT_EQ(m.SenderKind, 1);
  EXPECT_EQ(m.Sender, "10001");
  TFormattedText f = ParseFormattedText(m.Formatted, false);
  EXPECT_EQ(f.FontSize, 12);
  EXPECT_EQ(f.FontName, "宋体");
  EXPECT_EQ(f.Colour, 0x00FF0000u);
  EXPECT_EQ(f.Text, "你好，二号");

  two.client->Socket().Close();
  ASSERT_TRUE(PumpUntil([&] { return !server_.IsOnline(10002); }));
  ChatSendInfo = {"10002", "离线时的话", "10001", "黑体", 9, 0x000080FF};
  one.client->SendChatMsg();
  ASSERT_TRUE(PumpUntil([&] { return server_.CountOf(proto::ChatSend) == 2; }));
  Session& again = Open("10002");
  ASSERT_TRUE(Await(again, proto::EnterpriseOffLineMsg));
  std::vector<TOfflineMessage> offline = ParseOfflineMessages(BodyOf(again.log.Of(proto::EnterpriseOffLineMsg)[0]));
  ASSERT_EQ(offline.size(), 1u);
  EXPECT_EQ(offline[0].Sender, 10001u);
  EXPECT_EQ(offline[0].Text, "离线时的话");
  EXPECT_EQ(offline[0].FontName, "黑体");
  EXPECT_EQ(offline[0].FontSize, 9);
  EXPECT_EQ(offline[0].Colour, 0x000080FFu);
}

TEST_F(StandIn, ConsultingCustomersArriveTalkAndLeave) {
  server_.CustomerMessage(10001, 800001, "留言");  // while 10001 is offline
  Session& one = Open("10001");
  ASSERT_TRUE(Await(one, proto::CustomerOffLineMsg));
  TWaitingMessages w = ParseWaitingMessages(BodyOf(one.log.Of(proto::CustomerOffLineMsg)[0]));
  EXPECT_EQ(w.Flag, 1);
  ASSERT_EQ(w.Items.size(), 1u);
  EXPECT_EQ(w.Items[0].Sender, "800001");
  EXPECT_EQ(w.Items[0].Text, "留言");

  server_.CustomerArrives(10001, 800002);
  server_.CustomerMessage(10001, 800002, "在吗");
  server_.CustomerLeaves(10001, 800002);
  ASSERT_TRUE(Await(one, proto::CustomerLeft));
  EXPECT_EQ(ParseCustomerList(BodyOf(one.log.Of(proto::CustomerList)[0])), (std::vector<uint32_t>{800002}));
  TChatMessage m = ParseChatMessage(BodyOf(one.log.Of(proto::ChatMsg)[0]));
  EXPECT_EQ(m.SenderKind, 0);
  EXPECT_EQ(m.Sender, "800002");
  TFormattedText f = ParseFormattedText(m.Formatted, true);
  EXPECT_EQ(f.ColourText, "0");
  EXPECT_EQ(f.Text, "在吗");
  EXPECT_EQ(ParseCustomerLeft(BodyOf(one.log.Of(proto::CustomerLeft)[0])), "800002");
}

TEST_F(StandIn, FriendSearchRequestsAndAnswers) {
  Session& one = Open("10001");
  Session& three = Open("10003");
  one.client->SendFindFriend("", "演示三");
  ASSERT_TRUE(Await(one, proto::FindFriend));
  std::vector<TFriendRecord> found = ParseFriendList(BodyOf(one.log.Of(proto::FindFriend)[0]));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Number(), 10003u);
  EXPECT_EQ(found[0].State(), 1);

  one.client->SendAddFriendRequest(found[0], "我是一号");
  ASSERT_TRUE(Await(three, proto::FriendRequest));
  TFriendRequest q = ParseFriendRequest(BodyOf(three.log.Of(proto::FriendRequest)[0]));
  EXPECT_EQ(q.Text, "我是一号");
  EXPECT_EQ(q.Requester.Number(), 10001u);

  three.client->SendFriendReply44("10003", "10001");
  ASSERT_TRUE(Await(one, proto::AddFriendToList));
  EXPECT_EQ(ParseFriendRecord(BodyOf(one.log.Of(proto::AddFriendToList)[0])).Number(), 10003u);

  one.client->SendAddFriendRequest(found[0], "again");
  ASSERT_TRUE(Await(one, proto::AlreadyFriend));
  EXPECT_EQ(ParseAccount(BodyOf(one.log.Of(proto::AlreadyFriend)[0])), 10003u);

  one.client->SendDeleteFriend("10001", "10003");
  ASSERT_TRUE(Await(three, proto::DeleteFriend));
  EXPECT_EQ(ParseAccount(BodyOf(three.log.Of(proto::DeleteFriend)[0])), 10001u);

  one.client->SendAddFriendRequest(found[0], "再加一次");
  ASSERT_TRUE(Await(three, proto::FriendRequest, 2));
  three.client->SendFriendReply45("10001", "10003");
  ASSERT_TRUE(Await(one, proto::FriendRefuse));
  EXPECT_EQ(ParseAccount(BodyOf(one.log.Of(proto::FriendRefuse)[0])), 10003u);
}

TEST_F(StandIn, ARequestToAnOfflineAccountWaitsForItsLogin) {
  Session& one = Open("10001");
  TFriendRecord three;
  three.SetNumber(10003);
  one.client->SendAddFriendRequest(three, "离线请求");
  ASSERT_TRUE(PumpUntil([&] { return server_.CountOf(proto::AddFriendRequest) == 1; }));
  Session& later = Open("10003");
  ASSERT_TRUE(Await(later, proto::OffLineFriendRequests));
  std::vector<TStoredRequest> v = ParseStoredRequests(BodyOf(later.log.Of(proto::OffLineFriendRequests)[0]));
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].Requester, 10001u);
  EXPECT_EQ(v[0].Text, "离线请求");
  EXPECT_EQ(v[0].Record.NickName(), "演示一号");
}

TEST_F(StandIn, ASecondLoginOfAnAccountPushesTheFirstOff) {
  Session& first = Open("10001");
  int closed = 0;
  first.client->OnClose = TNotifyEvent([&](TObject*) { ++closed; });
  Open("10001");
  ASSERT_TRUE(Await(first, proto::KickedOff));
  ASSERT_TRUE(PumpUntil([&] { return closed == 1; }));
  EXPECT_TRUE(server_.IsOnline(10001));
}

TEST_F(StandIn, RegistrationSucceedsOnceThenRefusesRepeatsAndIncompleteData) {
  TServiceClient& c = NewClient();
  ASSERT_TRUE(Connect(c));
  std::vector<std::pair<int, uint32_t>> replies;
  c.OnRegisterReply =
      TRegisterEvent([&](TObject*, uint8_t r, uint32_t account, const std::string&) { replies.emplace_back(r, account); });
  RegisterInfo = {"新公司", "新客服", "pw", "n@new.example", "http://new.example", "00-11-22-33-44-55"};
  c.SendRegister();
  c.SendRegister();
  RegisterInfo.CompanyName = "";
  c.SendRegister();
  ASSERT_TRUE(PumpUntil([&] { return replies.size() == 3; }));
  EXPECT_EQ(replies[0], std::make_pair(0, 10004u));
  EXPECT_EQ(replies[1].first, 4);
  EXPECT_EQ(replies[2].first, 3);
  EXPECT_EQ(Login(c, "10004", "pw"), 0);
}

TEST_F(StandIn, TradePostingsAreSavedOrRefused) {
  Session& one = Open("10001");
  TradeInfo = {};
  TradeInfo.Category = "0";
  TradeInfo.Title = "供应机床";
  TradeInfo.ContactName = "张三";
  TradeInfo.Company = "卡维尔";
  TradeInfo.Phone = "010-1";
  TradeInfo.Validity = "30";
  one.client->SendTradeInfo();
  TradeInfo.Phone = "";
  one.client->SendTradeInfo();
  ASSERT_TRUE(Await(one, proto::TradeSave, 2));
  EXPECT_EQ(ParseTradeResult(BodyOf(one.log.Of(proto::TradeSave)[0])), 1);
  EXPECT_EQ(ParseTradeResult(BodyOf(one.log.Of(proto::TradeSave)[1])), 0);
  ASSERT_EQ(server_.Trades().size(), 1u);
  EXPECT_EQ(server_.Trades()[0].Title, "供应机床");
  EXPECT_EQ(server_.Trades()[0].Quantity, "0");
}

TEST_F(StandIn, ScriptedRepliesReplaceTheServersOwnAnswer) {
  TServiceClient& c = NewClient();
  FrameLog log;
  log.Hook(c);
  ASSERT_TRUE(Connect(c));
  TLoginReply odd;
  odd.Result = 9;
  server_.QueueReply(proto::Login, stub::Frame(proto::Login, stub::LoginReplyBody(odd)) + "junk" + stub::Frame(proto::TradeSave, "\x01"));
  EXPECT_EQ(Login(c, "10001"), 9);
  ASSERT_TRUE(PumpUntil([&] { return log.Of(proto::TradeSave).size() == 1; }));
  EXPECT_FALSE(server_.IsOnline(10001));
  EXPECT_EQ(Login(c, "10001"), 0);  // the queue is used up
}

TEST(StandInListening, RefusesAddressesOutsideLoopback) {
  stub::TServiceServer server;
  EXPECT_EQ(server.Start("0.0.0.0"), 0);
  EXPECT_EQ(server.Start("10.0.0.1"), 0);
  EXPECT_NE(server.Start("127.0.0.2"), 0);
}
