// What the connection does with frames it cannot use, with handlers that fail, with a new
// login and with connects that fail.
#include "platform/rtl/SysUtils.h"
#include "socket/AsyncClientSocket.h"
#include "tests/net/NetFixture.h"

using stub::Frame;

class Dispatch : public NetTest {
 protected:
  TServiceClient* client_ = nullptr;
  FrameLog log_;
  int conn_ = 0;
  void SetUp() override {
    NetTest::SetUp();
    client_ = &NewClient();
    log_.Hook(*client_);
    ASSERT_TRUE(Connect(*client_));
    conn_ = server_.Connections();
  }
  // Sends the bytes followed by a marker frame and waits until the marker is dispatched.
  void SendAndSettle(const std::string& bytes) {
    size_t markers = log_.Of(proto::FriendOffline).size();
    server_.SendTo(conn_, bytes + Frame(proto::FriendOffline, stub::AccountBody(0xBEEF)));
    ASSERT_TRUE(testing_support::PumpUntil([&] { return log_.Of(proto::FriendOffline).size() > markers; }));
  }
};

TEST_F(Dispatch, UnknownNumbersAreLoggedInUpperCaseHexAndDiscarded) {
  SendAndSettle(Frame(13, "abc") + Frame(proto::AddFriendRequest, "") + Frame(0xAB, "x") + Frame(26, ""));
  std::vector<std::string> logs = LogTexts();
  EXPECT_EQ(logs, (std::vector<std::string>{"不支持的协议号：0x0D", "不支持的协议号：0x29", "不支持的协议号：0xAB",
                                            "不支持的协议号：0x1A"}));
  EXPECT_EQ(client_->LastError, "不支持的协议号：0x1A");
  EXPECT_EQ(log_.frames.size(), 1u);  // only the marker
}

TEST_F(Dispatch, AnUnknownFrameInPiecesIsLoggedOnce) {
  std::string f = Frame(13, std::string(40, 'z'));
  server_.SendTo(conn_, f.substr(0, 8));
  testing_support::PumpFor(20);
  server_.SendTo(conn_, f.substr(8, 20));
  testing_support::PumpFor(20);
  SendAndSettle(f.substr(28));
  EXPECT_EQ(LogTexts().size(), 1u);
}

TEST_F(Dispatch, Protocol48IsIgnoredWithoutALogLine) {
  SendAndSettle(Frame(proto::Ignored, "anything"));
  EXPECT_TRUE(LogTexts().empty());
  EXPECT_EQ(log_.frames.size(), 1u);
}

TEST_F(Dispatch, AMalformedBodyIsLoggedAndDroppedAndTheStreamGoesOn) {
  struct Case {
    const char* name;
    uint8_t proto;
    std::string body;
  };
  const Case cases[] = {
      {"friend list announcing two records but holding one", proto::FriendList, "\x02" + std::string(200, 'r')},
      {"login reply ending inside a wire string", proto::Login, B("\x00\x09short", 7)},
      {"customer list count beyond the body", proto::CustomerList, B("\xFF\x01\x00\x00\x00", 5)},
      {"chat text longer than the body", proto::ChatMsg, B("\x00\x00\x01\xFF\xFF\xFF\x7F", 7)},
      {"region table count near 2^32", proto::StateInfo, B("\xFF\xFF\xFF\xFF", 4)},
      {"empty trade result", proto::TradeSave, ""},
      {"registration reply without its text", proto::Register, B("\x00\x01\x00\x00\x00\x02\x00\x00\x00", 9)},
  };
  int registered = 0;
  client_->OnRegisterReply = TRegisterEvent([&](TObject*, uint8_t, uint32_t, const std::string&) { ++registered; });
  for (const Case& k : cases) {
    size_t logs = LogTexts().size();
    SendAndSettle(Frame(k.proto, k.body));
    EXPECT_TRUE(log_.Of(k.proto).empty()) << k.name;
    std::vector<std::string> texts = LogTexts();
    ASSERT_GT(texts.size(), logs) << k.name;
    EXPECT_NE(texts[logs].find("协议号0x" + sys::IntToHex(k.proto, 2) + "的消息体有误"), std::string::npos)
        << texts[logs];
  }
  EXPECT_EQ(registered, 0);
  EXPECT_EQ(log_.Of(proto::FriendOffline).size(), std::size(cases));
}

TEST_F(Dispatch, AFailingHandlerIsLoggedAndTheNextFrameStillArrives) {
  int calls = 0;
  client_->OnFriendList = TPacketEvent([&](TObject*, const uint8_t*, int32_t) {
    ++calls;
    throw Exception("坏了");
  });
  SendAndSettle(Frame(proto::FriendList, B("\x00", 1)) + Frame(proto::FriendList, B("\x00", 1)));
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{"坏了TServiceClient.DispatchPacket出错",
                                                  "坏了TServiceClient.DispatchPacket出错"}));
}

TEST_F(Dispatch, TradeTableAndResultHandlersAreBracketedInTheLog) {
  SendAndSettle(Frame(proto::StateInfo, std::string(12, '\0')) + Frame(proto::CategoryInfo, std::string(4, '\0')) + Frame(proto::TradeSave, "\x01"));
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{"HandleStateInfo开始", "HandleStateInfo结束", "HandleCategoryInfo开始",
                                                  "HandleCategoryInfo结束", "HandleTradeSaveResult开始",
                                                  "HandleTradeSaveResult结束"}));
}

TEST_F(Dispatch, AnOversizedFrameClosesTheConnection) {
  int closed = 0;
  client_->OnClose = TNotifyEvent([&](TObject*) { ++closed; });
  server_.SendTo(conn_, Frame(proto::FriendOffline, "abcd") + std::string("\x64\x0C\x00\x00\x00\x40", 6) + Frame(proto::FriendOffline, "efgh"));
  ASSERT_TRUE(testing_support::PumpUntil([&] { return closed == 1; }));
  EXPECT_EQ(log_.frames.size(), 1u);
  ASSERT_EQ(LogTexts().size(), 1u);
  EXPECT_NE(LogTexts()[0].find("协议号0x0C的帧长度1073741824超过上限"), std::string::npos);
  EXPECT_EQ(client_->RecvBuffer().Held(), 0u);
}

TEST_F(Dispatch, ASuccessfulLoginStartsWithEmptyListsAFailedOneKeepsThem) {
  TFriendRecord stale;
  stale.SetNumber(4242);
  client_->UserManager->AddEnterpriseFriend(stale);
  client_->UserManager->Customers.push_back({"9", "9", 0});
  EXPECT_EQ(Login(*client_, "10001", "wrong"), 2);
  EXPECT_EQ(client_->UserManager->Friends.size(), 1u);
  EXPECT_EQ(Login(*client_, "10001"), 0);
  EXPECT_TRUE(client_->UserManager->Friends.empty());
  EXPECT_TRUE(client_->UserManager->Customers.empty());
}

TEST_F(Dispatch, HandlersGetTheRecordReadForTheirOwnFrameEvenWhenEnteredAgain) {
  std::vector<uint32_t> seen;
  client_->OnDeleteFriend = TPacketEvent([&](TObject*, const uint8_t* f, int32_t held) {
    uint32_t account = ReplyRecord<uint32_t>(f, held);
    // The next frame arrives while this handler runs, as it does when a handler pumps messages.
    if (account == 7) {
      std::string next = Frame(proto::DeleteFriend, stub::AccountBody(8));
      client_->ReceiveBytes(next.data(), next.size());
    }
    // A held count of 0 would make a fresh read fail: the record is the one the dispatch read.
    seen.push_back(client_->Record<uint32_t>(f, 0));
  });
  SendAndSettle(Frame(proto::DeleteFriend, stub::AccountBody(7)));
  EXPECT_EQ(seen, (std::vector<uint32_t>{8, 7}));
  // Outside a dispatch the frame is read as it stands.
  std::string lone = Frame(proto::DeleteFriend, stub::AccountBody(9));
  EXPECT_EQ(ReplyRecord<uint32_t>((const uint8_t*)lone.data(), int32_t(lone.size())), 9u);
  EXPECT_THROW(client_->Record<uint32_t>((const uint8_t*)lone.data(), 0), EMalformedBody);
}

TEST_F(Dispatch, AChatRecordIsReadFromItsOwnFrameWhenItsHandlerAsks) {
  std::vector<std::string> texts;
  client_->OnChatMsg = TPacketEvent([&](TObject*, const uint8_t* f, int32_t) {
    bool first = texts.empty();
    texts.push_back("");
    size_t mine = texts.size() - 1;
    if (first) {
      std::string next = Frame(proto::ChatMsg, stub::ChatBody(0, 1, "second", "10002", 1.0));
      client_->ReceiveBytes(next.data(), next.size());
    }
    // A held count of 0 would make a read of the handler's own count fail: the frame's is used.
    texts[mine] = client_->Record<TChatMessage>(f, 0).Formatted;
  });
  SendAndSettle(Frame(proto::ChatMsg, stub::ChatBody(0, 1, std::string(70000, 'x'), "10002", 1.0)));
  EXPECT_EQ(texts, (std::vector<std::string>{std::string(70000, 'x'), "second"}));
}

TEST_F(Dispatch, HintEventCarriesTheHeldBytes) {
  std::string half = Frame(proto::ChatMsg, "abcdef").substr(0, 5);
  client_->ReceiveBytes(half.data(), half.size());
  std::string seen;
  client_->OnHint = TPacketEvent([&](TObject*, const uint8_t* f, int32_t held) { seen.assign((const char*)f, held); });
  client_->FireHintEvent();
  EXPECT_EQ(seen, half);
}

class Connecting : public NetTest {};

TEST_F(Connecting, FailuresArriveAsTheConnectEvent) {
  struct Case {
    const char* name;
    std::string addr, port;
  };
  stub::TServiceServer closed;
  uint16_t unused = closed.Start();
  closed.Stop();  // nothing listens there any more
  const Case cases[] = {
      {"nothing listening", "127.0.0.1", sys::IntToStr(unused)},
      {"no address to connect to", "", "8014"},
  };
  for (const Case& k : cases) {
    TServiceClient c(k.addr, k.port);
    int failed = -1;
    c.OnConnect = TConnectEvent([&](TObject*, uint8_t f) { failed = f; });
    c.Connect();
    EXPECT_TRUE(testing_support::PumpUntil([&] { return failed >= 0; }, 10000)) << k.name;
    EXPECT_EQ(failed, 1) << k.name;
  }
}

// Mend: a connect that failed at once (here the connect call refuses a multicast address)
// left the socket half open, and the next login could not set its address ("Cannot change
// Addr if not closed").
TEST_F(Connecting, MendAConnectThatFailsAtOnceLeavesTheNextLoginFree) {
  TServiceClient c("224.0.0.1", sys::IntToStr(port_));
  int failed = -1;
  c.OnConnect = TConnectEvent([&](TObject*, uint8_t f) { failed = f; });
  c.Connect();
  EXPECT_EQ(failed, 1);  // at once, from the connect call itself
  EXPECT_EQ(c.Socket().State(), wsClosed);
  // The login window aims the socket again before each connect.
  c.Socket().SetAddr("127.0.0.1");
  c.Socket().SetPort(sys::IntToStr(port_));
  EXPECT_TRUE(Connect(c));
  EXPECT_EQ(Login(c, "10001"), 0);
}

TEST_F(Connecting, EachConnectStartsWithAnEmptyReceiveBuffer) {
  TServiceClient& c = NewClient();
  FrameLog log;
  log.Hook(c);
  std::string partial = Frame(proto::FriendOffline, "abcd").substr(0, 4);
  c.ReceiveBytes(partial.data(), partial.size());
  ASSERT_EQ(c.RecvBuffer().Held(), 4u);
  ASSERT_TRUE(Connect(c));
  EXPECT_EQ(c.RecvBuffer().Held(), 0u);
  // The rest of the old frame must not complete anything on the new connection.
  server_.SendTo(server_.Connections(), B("\x00", 1) + Frame(proto::FriendOffline, "wxyz"));
  ASSERT_TRUE(testing_support::PumpUntil([&] { return log.frames.size() == 1; }));
  EXPECT_EQ(log.frames[0], Frame(proto::FriendOffline, "wxyz"));
}
