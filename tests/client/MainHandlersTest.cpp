// The main window's server-event handlers in-process: the window is built from its
// description (without its creation handler, which would run the login) and each handler is
// handed frames directly, malformed ones included, since the connection's own check would
// keep those from them. Balloons are read from the notification-area seam.
#include <gtest/gtest.h>

#include "skin/SkinData.h"
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>

#include "client/ChatWindows.h"
#include "client/MessageBlock.h"
#include "client/uChatFrm.h"
#include "client/uLogin.h"
#include "client/uMain.h"
#include "client/uTrade.h"
#include "core/LogManager.h"
#include "core/MD5.h"
#include "core/ReceiveMessage.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "platform/forms/Screen.h"
#include "platform/web/WebBrowser.h"
#include "tests/client/ChatWorld.h"
#include "tests/client/EventFixtures.h"
#include "tools/serviceserver/ServiceBodies.h"
#include "tools/webstub/WebStub.h"
#include "widgets/NotifyArea.h"

using client_test::FriendOf;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

struct RecordingArea : seams::INotifyArea {
  std::vector<std::string> balloons;  // title|text
  std::vector<std::pair<DWORD, HICON>> calls;
  bool NotifyIcon(DWORD message, const TNotifyIconData& data) override {
    calls.emplace_back(message, data.Icon());
    if (message == NIM_MODIFY && !data.Info().empty()) balloons.push_back(data.InfoTitle() + "|" + data.Info());
    return true;
  }
  // The icon of the last add when no removal followed it, else nullptr.
  HICON Present() const {
    HICON icon = nullptr;
    for (const auto& [message, h] : calls) {
      if (message == NIM_ADD) icon = h;
      if (message == NIM_DELETE) icon = nullptr;
    }
    return icon;
  }
};

struct RecordingSound : seams::ISound {
  std::vector<std::string> played;
  void PlayFile(const std::string& path) override { played.push_back(path); }
};

class MainHandlersTest : public ChatWorld {
 protected:
  void SetUp() override {
    ChatWorld::SetUp();
    RegisterWebBrowser();
    RegisterSkinData();
    area_ = std::make_unique<seams::ScopedNotifyArea>(&notify_);
    sound_ = std::make_unique<seams::ScopedSeam<seams::ISound>>(&played_);
    frm_.reset(new TMainFrm(nullptr));
    frm_->LoadDescription(FindFormDescription("TMainFrm"));
    OfflineMsgQueue = std::make_unique<TReceiveBuffer>();
    Users().Friends.clear();
    Users().ReceiveMsgList.clear();
  }
  void TearDown() override {
    for (TCustomForm* w : std::vector<TCustomForm*>(chat_windows::All())) TComponent::Free(w);
    frm_.reset();
    OfflineMsgQueue.reset();
    sound_.reset();
    area_.reset();
    ChatWorld::TearDown();
  }
  static TUserManager& Users() { return *ServiceClient->UserManager; }

  // Fires the event of `number` as the connection does once a body has passed its check;
  // malformed bodies, which the check would drop, show what the handler itself does with them.
  // The window holds the events only meanwhile: what the stand-in server sends after the
  // login is not part of these tests.
  void Hand(proto::TNumber number, const std::string& body) {
    std::string frame = stub::Frame(number, body);
    frm_->AssignServerEvents();
    TPacketEvent* event = ServiceClient->EventFor(number);
    ASSERT_TRUE(event && *event) << int(number);
    (*event)(ServiceClient.get(), reinterpret_cast<const uint8_t*>(frame.data()), int32_t(frame.size()));
    frm_->ReleaseServerEvents();
  }
  std::vector<std::string> Friends() const { return frm_->yListEnterprise->Items().ToVector(); }
  std::string Log() const {
    std::string path = dir_.File("Client.log");
    return sys::FileExists(path) ? sys::ReadFileBytes(path) : std::string();
  }
  std::string LastBalloon() const { return notify_.balloons.empty() ? "" : notify_.balloons.back(); }
  TMessageBlock WaitingBlock(size_t i) const {
    const std::string& t = Users().ReceiveMsgList.at(i).Text;
    auto b = ReadMessageBlock(t.data(), t.size());
    EXPECT_TRUE(b) << i;
    return b.value_or(TMessageBlock{});
  }

  RecordingArea notify_;
  RecordingSound played_;
  std::unique_ptr<seams::ScopedNotifyArea> area_;
  std::unique_ptr<seams::ScopedSeam<seams::ISound>> sound_;
  std::unique_ptr<TMainFrm> frm_;
};

}  // namespace

TEST_F(MainHandlersTest, TheDescriptionCarriesTheBuiltInSkin) {
  auto* skin = dynamic_cast<TSkinData*>(frm_->FindComponent("SkinData1"));
  ASSERT_NE(skin, nullptr);
  EXPECT_FALSE(skin->NoSkin());
  EXPECT_FALSE(skin->SkinStream().empty());
  EXPECT_TRUE(skin->Active());
}

TEST_F(MainHandlersTest, FriendEventsAgainstTheListBalloonsAndLog) {
  frm_->AddServiceContact();
  frm_->RefreshFriendList();
  std::string shortRecord(150, '\0');
  struct Case {
    const char* what;
    proto::TNumber number;
    std::string body;
    std::vector<std::string> friends;
    std::string balloon;  // the last balloon afterwards
    std::string log;      // a text the log then holds
  } cases[] = {
      {"friend list, one friend twice",
       proto::FriendList,
       stub::FriendListBody({FriendOf(10002, 0), FriendOf(10003, 0), FriendOf(10003, 0)}),
       {"10000(在线)", "10002(离线)", "10003(在线)"},
       "",
       ""},
      {"friend list with a count past its records",
       proto::FriendList,
       std::string("\x02", 1) + std::string((const char*)FriendOf(10007, 1).Data(), 200),
       {"10000(在线)", "10002(离线)", "10003(在线)"},
       "",
       "OnFriendUser"},
      {"online",
       proto::FriendOnline,
       stub::FriendRecordBody(FriendOf(10004, 1)),
       {"10000(在线)", "10002(离线)", "10003(在线)", "10004(在线)"},
       "系统提示|好友上线，号码:10004",
       ""},
      {"online, short record",
       proto::FriendOnline,
       shortRecord,
       {"10000(在线)", "10002(离线)", "10003(在线)", "10004(在线)"},
       "系统提示|好友上线，号码:10004",
       "OnFriendOnline"},
      {"offline",
       proto::FriendOffline,
       stub::AccountBody(10004),
       {"10000(在线)", "10002(离线)", "10003(在线)", "10004(离线)"},
       "系统提示|好友离线，号码:10004",
       "接收好友离线信息,好友号码:10004"},
      {"offline, three bytes",
       proto::FriendOffline,
       "abc",
       {"10000(在线)", "10002(离线)", "10003(在线)", "10004(离线)"},
       "系统提示|好友离线，号码:10004",
       "OnFriendOffline"},
      {"added",
       proto::AddFriendToList,
       stub::FriendRecordBody(FriendOf(10006, 1)),
       {"10000(在线)", "10002(离线)", "10003(在线)", "10004(离线)", "10006(在线)"},
       "系统提示|好友离线，号码:10004",
       ""},
      {"added, empty",
       proto::AddFriendToList,
       "",
       {"10000(在线)", "10002(离线)", "10003(在线)", "10004(离线)", "10006(在线)"},
       "系统提示|好友离线，号码:10004",
       "OnAddFriendToList,出错"},
      {"refused",
       proto::FriendRefuse,
       stub::AccountBody(10009),
       {"10000(在线)", "10002(离线)", "10003(在线)", "10004(离线)", "10006(在线)"},
       "系统提示|10009拒绝了您添加好友请求",
       ""},
      {"deleted",
       proto::DeleteFriend,
       stub::AccountBody(10006),
       {"10000(在线)", "10002(离线)", "10003(在线)", "10004(离线)", "10006(离线)"},
       "系统提示|友10006已从好友列表中将您删除",
       ""},
      {"deleted, short",
       proto::DeleteFriend,
       "\x01",
       {"10000(在线)", "10002(离线)", "10003(在线)", "10004(离线)", "10006(离线)"},
       "系统提示|友10006已从好友列表中将您删除",
       "OnDeleteFriend出错"},
  };
  for (const auto& c : cases) {
    Hand(c.number, c.body);
    EXPECT_EQ(Friends(), c.friends) << c.what;
    EXPECT_EQ(LastBalloon(), c.balloon) << c.what;
    if (!c.log.empty()) {
      EXPECT_NE(Log().find(c.log), std::string::npos) << c.what;
    }
  }

  // A new login empties the friend list; the service contact comes back.
  Users().ClearSessionLists();
  frm_->LoginSucceeded(true, "10001");
  EXPECT_EQ(Friends(), std::vector<std::string>{"10000(在线)"});

  // The connection closing.
  IsConnected = true;
  frm_->OnServerDisconnect(nullptr);
  EXPECT_FALSE(IsConnected);
  EXPECT_EQ(LastBalloon(), "系统提示|与服务器断开连接");
  EXPECT_EQ(frm_->StatusBar->PanelText(0), "当前状态:与服务器断开连接");
}

TEST_F(MainHandlersTest, ReceivedMessagesEachGetABlockOfTheirOwn) {
  Users().AddEnterpriseFriend(FriendOf(10002, 1));
  TDateTime sent = dt::EncodeDate(2026, 1, 2) + 0.25;
  auto chat = [&](uint8_t offline, uint8_t kind, const std::string& formatted, const std::string& sender) {
    Hand(proto::ChatMsg, stub::ChatBody(offline, kind, formatted, sender, sent));
  };
  chat(0, 1, BuildFormattedText(10, "宋体", 0xFF, "在线的话"), " 10002 ");
  chat(1, 1, BuildFormattedText(10, "宋体", 0xFF, "存下的话"), "10002");
  chat(0, 0, BuildCustomerFormattedText(9, "Arial", "255", "客户"), "555");
  // Oversized and malformed ones change nothing.
  chat(0, 1, BuildFormattedText(10, "宋体", 0, std::string(kMessageBlockCapacity, 'x')), "10002");
  Hand(proto::ChatMsg, std::string("\x00\x00\x01\xFF\xFF\x00\x00", 7));
  Hand(proto::CustomerOffLineMsg, stub::WaitingMessagesBody(0, {{"等着的话", "888", sent}}));
  Hand(proto::CustomerOffLineMsg, std::string("\x00\x05", 2) + std::string(538, 'z'));

  ASSERT_EQ(Users().ReceiveMsgList.size(), 4u);
  EXPECT_NE(Log().find("消息块超出长度OnReceiveChatMsg"), std::string::npos);
  EXPECT_EQ(played_.played, std::vector<std::string>(4, "Audio.wav"));
  EXPECT_TRUE(frm_->TrayNotifyIcon->CycleIcons());
  struct Want {
    std::string sender, name, text;
    uint8_t isFriend, online;
    bool stamped;  // the message's own time rather than now
  } want[] = {
      {"10002", "友10002", "在线的话", 1, 1, false},
      {"10002", "友10002", "存下的话", 1, 0, true},
      {"555", "555", "客户", 0, 1, false},
      {"888", "888", "等着的话", 0, 0, true},
  };
  for (size_t i = 0; i < 4; ++i) {
    const TReceivedMsg& e = Users().ReceiveMsgList[i];
    EXPECT_EQ(e.Sender, want[i].sender) << i;
    EXPECT_EQ(e.Kind, want[i].isFriend) << i;
    EXPECT_EQ(e.Flag, 0) << i;
    TMessageBlock b = WaitingBlock(i);
    EXPECT_EQ(b.DisplayName, want[i].name) << i;
    EXPECT_EQ(b.Friend, want[i].isFriend) << i;
    EXPECT_EQ(b.Online, want[i].online) << i;
    if (want[i].stamped) {
      EXPECT_EQ(b.Time, sent) << i;
    }
    auto t = ReadBlockText(b);
    ASSERT_TRUE(t) << i;
    EXPECT_EQ(t->Text, want[i].text) << i;
  }

  // Opening them: one chat window per partner, each with its own messages, in arrival order;
  // the customer's go into the record too; the tray stops blinking.
  frm_->FlashTrayHasMsg();
  EXPECT_TRUE(Users().ReceiveMsgList.empty());
  EXPECT_FALSE(frm_->TrayNotifyIcon->CycleIcons());
  ASSERT_EQ(chat_windows::All().size(), 3u);
  EXPECT_NE(chat_windows::Find("10002", true), nullptr);
  EXPECT_NE(chat_windows::Find("888", false), nullptr);
  TCustomForm* customer = chat_windows::Find("555", false);
  ASSERT_NE(customer, nullptr);
  EXPECT_EQ(ChatFrm, chat_windows::All().back());
  std::string record = frm_->yMemoReceive->Text();
  EXPECT_NE(record.find("咨询客户555"), std::string::npos) << record;
  EXPECT_NE(record.find("    客户"), std::string::npos) << record;

  // With the window open, the next message goes straight to it and nothing waits.
  chat(0, 0, BuildCustomerFormattedText(9, "Arial", "255", "又一句"), "555");
  EXPECT_TRUE(Users().ReceiveMsgList.empty());
  EXPECT_FALSE(frm_->TrayNotifyIcon->CycleIcons());
  EXPECT_NE(frm_->yMemoReceive->Text().find("又一句"), std::string::npos);
}

// Mend: a customer's text broke only at carriage returns, so its lone line feeds started
// lines of their own in the record and its history file, unindented, which read as the
// heading of another customer's message.
TEST_F(MainHandlersTest, MendEveryLineOfACustomersTextIsIndentedInTheRecord) {
  const std::string forged = "咨询客户10086  2026-01-01 08:00:00";
  Hand(proto::ChatMsg, stub::ChatBody(0, 0, BuildCustomerFormattedText(9, "Arial", "255", "你好\n" + forged + "\r\n第三句"),
                                      "555", dt::Now()));
  frm_->FlashTrayHasMsg();
  ASSERT_NE(chat_windows::Find("555", false), nullptr);
  TStringList lines;
  lines.SetText(frm_->yMemoReceive->Text());
  std::vector<std::string> got;
  for (const auto& item : lines) got.push_back(item.text);
  ASSERT_EQ(got.size(), 4u) << frm_->yMemoReceive->Text();
  EXPECT_EQ(got[0].rfind("咨询客户555  ", 0), 0u) << got[0];
  EXPECT_EQ(got[1], "    你好");
  EXPECT_EQ(got[2], "    " + forged);
  EXPECT_EQ(got[3], "    第三句");
}

// Mend: a run that loaded one day's record and ended after midnight saved the whole record
// as the new day's file, so the earlier day's messages stood in two files.
TEST_F(MainHandlersTest, MendAfterMidnightTheNewDaysFileGetsOnlyThisRunsAdditions) {
  testing_support::FixedClock clock;
  seams::ScopedSeam<seams::IClock> use(&clock);
  clock.now = dt::Encode({2031, 3, 4, 23, 50, 0, 0});
  TLog& log = TLog::GetInstance();
  const std::string first = log.Path() + "2031-03-04.txt", second = log.Path() + "2031-03-05.txt";
  DeleteFileA(second.c_str());
  const std::string earlier = "咨询客户444  2031-03-04 08:00:00\r\n    上一天的话\r\n";
  sys::WriteFileBytes(first, earlier);
  frm_->FormShow(nullptr);
  ASSERT_NE(frm_->yMemoReceive->Text().find("上一天的话"), std::string::npos);
  Hand(proto::ChatMsg, stub::ChatBody(0, 0, BuildCustomerFormattedText(9, "Arial", "255", "半夜的话"), "555", clock.now));
  frm_->FlashTrayHasMsg();
  clock.now = dt::Encode({2031, 3, 5, 0, 10, 0, 0});
  for (TCustomForm* w : std::vector<TCustomForm*>(chat_windows::All())) TComponent::Free(w);
  frm_->FormDestroy(nullptr);  // the exit saves the record
  std::string saved = sys::FileExists(second) ? sys::ReadFileBytes(second) : std::string();
  std::string kept = sys::ReadFileBytes(first);
  DeleteFileA(first.c_str());
  DeleteFileA(second.c_str());
  EXPECT_EQ(kept, earlier);
  EXPECT_EQ(saved.find("上一天的话"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("咨询客户555  2031-03-04 23:50:00\r\n    半夜的话\r\n"), 0u) << saved;
}

// Mend: zero bytes in a day's file (a crash leaves them) ended the record shown at the
// first of them, so whatever later runs appended behind them was never shown again.
TEST_F(MainHandlersTest, MendADaysRecordShowsWhatFollowsZeroBytes) {
  testing_support::FixedClock clock;
  seams::ScopedSeam<seams::IClock> use(&clock);
  clock.now = dt::Encode({2031, 3, 6, 10, 0, 0, 0});
  const std::string file = TLog::GetInstance().Path() + "2031-03-06.txt";
  sys::WriteFileBytes(file, std::string("咨询客户444  2031-03-06 08:00:00\r\n    之前的话\r\n") + std::string(8, '\0') +
                                "咨询客户445  2031-03-06 09:00:00\r\n    之后的话\r\n");
  frm_->FormShow(nullptr);
  std::string record = frm_->yMemoReceive->Text();
  DeleteFileA(file.c_str());
  EXPECT_NE(record.find("之前的话"), std::string::npos) << record;
  EXPECT_NE(record.find("\r\n咨询客户445  2031-03-06 09:00:00\r\n    之后的话"), std::string::npos) << record;
}

TEST_F(MainHandlersTest, FriendsOfflineMessagesWaitPerSenderInTheQueue) {
  Users().AddEnterpriseFriend(FriendOf(10002, 1));
  TDateTime t = dt::EncodeDate(2026, 1, 2);
  std::vector<TOfflineMessage> records = {{10002, t, "第一条", 0, "宋体", 10, 0xFF},
                                          {10004, t + 1, "别人的", 0, "宋体", 10, 0},
                                          {10002, t + 2, "第二条", 0, "宋体", 10, 0}};
  Hand(proto::EnterpriseOffLineMsg, stub::OfflineMessagesBody(records));
  // A count past the records: nothing queued.
  Hand(proto::EnterpriseOffLineMsg, std::string("\x04", 1) + std::string(576, '\0'));
  ASSERT_EQ(OfflineMsgQueue->Count(), 3);
  auto block = ReadMessageBlock(OfflineMsgQueue->Items[0].Text.data(), OfflineMsgQueue->Items[0].Text.size());
  ASSERT_TRUE(block);
  EXPECT_EQ(block->DisplayName, "友10002 ");
  EXPECT_EQ(block->Online, 0);
  EXPECT_EQ(block->Time, t);
  EXPECT_EQ(ReadBlockText(*block)->Text, "第一条");
  // One waiting entry per distinct sender, first occurrence first.
  ASSERT_EQ(Users().ReceiveMsgList.size(), 2u);
  EXPECT_EQ(Users().ReceiveMsgList[0].Sender, "10002");
  EXPECT_EQ(Users().ReceiveMsgList[1].Sender, "10004");
  EXPECT_EQ(Users().ReceiveMsgList[0].Flag, 1);

  // A double click on the list while the tray blinks opens the waiting messages.
  frm_->RefreshFriendList();
  frm_->yListEnterprise->SetItemIndex(0);
  frm_->yListEnterpriseDblClick(nullptr);
  EXPECT_TRUE(Users().ReceiveMsgList.empty());
  for (const TOfflineRecord& r : OfflineMsgQueue->Items) EXPECT_TRUE(r.Shown);
  EXPECT_EQ(chat_windows::All().size(), 2u);
  // Without waiting messages it opens the chat with the selected friend, once.
  frm_->AddServiceContact();
  frm_->RefreshFriendList();
  frm_->yListEnterprise->SetItemIndex(1);
  frm_->yListEnterpriseDblClick(nullptr);
  frm_->yListEnterpriseDblClick(nullptr);
  EXPECT_EQ(chat_windows::All().size(), 3u);
  EXPECT_NE(chat_windows::Find("10000", true), nullptr);
}

TEST_F(MainHandlersTest, CustomersComeAndGo) {
  Hand(proto::CustomerList, stub::CustomerListBody({555, 556, 555}));
  Hand(proto::CustomerList, stub::CustomerListBody({556, 557}));
  Hand(proto::CustomerList, std::string("\x09\x01", 2));
  EXPECT_EQ(frm_->yListUser->Items().ToVector(),
            (std::vector<std::string>{"咨询客户555(在线)", "咨询客户556(在线)", "咨询客户557(在线)"}));
  EXPECT_TRUE(frm_->yListUser->Visible());
  EXPECT_FALSE(frm_->Panel7->Visible());
  for (const char* n : {"556", "555", "557"}) Hand(proto::CustomerLeft, stub::CustomerLeftBody(n));
  EXPECT_TRUE(frm_->yListUser->Items().ToVector().empty());
  EXPECT_NE(Log().find("557断开"), std::string::npos);
  // The advertising page is back.
  EXPECT_TRUE(frm_->Panel7->Visible());
  EXPECT_TRUE(frm_->WebBrowser1->Visible());
  EXPECT_FALSE(frm_->yListUser->Visible());
}

TEST_F(MainHandlersTest, TradeTablesReplaceTheTradeWindowsTablesAndBadOnesChangeNothing) {
  TRegionTables regions;
  regions.Provinces = {{1, 0, 11, "北京"}, {2, 0, 12, "天津"}};
  regions.Cities = {{1, 11, 1101, "市辖区"}, {2, 12, 1201, "市辖区"}};
  regions.Districts = {{1, 1201, 120101, "和平区"}};
  Hand(proto::StateInfo, stub::RegionTablesBody(regions));
  Hand(proto::CategoryInfo, stub::CategoryTableBody({{1, 1, -1, "机械"}, {2, 101, 1, "机床"}}));
  ASSERT_EQ(RegionTable2.size(), 2u);
  EXPECT_EQ(RegionTable2[1].Parent, 12u);
  EXPECT_EQ(RegionTable3[0].Name, "和平区");
  ASSERT_EQ(IndustryTable.size(), 2u);
  EXPECT_EQ(IndustryTable[0].Parent, -1);
  // A count larger than the body: logged, the tables stay.
  Hand(proto::StateInfo, std::string("\x09\0\0\0", 4));
  Hand(proto::CategoryInfo, std::string("\x02\0\0\0", 4));
  EXPECT_EQ(RegionTable1.size(), 2u);
  EXPECT_EQ(IndustryTable.size(), 2u);
  EXPECT_NE(Log().find("TMainFrm.HandleStateInfo出错"), std::string::npos);
  // The connection hands 51 and 52 to the main window.
  frm_->AssignServerEvents();
  EXPECT_EQ(ServiceClient->OnStateInfo.Owner(), frm_.get());
  EXPECT_EQ(ServiceClient->OnCategoryInfo.Owner(), frm_.get());
  frm_->ReleaseServerEvents();
  EXPECT_FALSE(static_cast<bool>(ServiceClient->OnStateInfo));
  RegionTable1.clear();
  RegionTable2.clear();
  RegionTable3.clear();
  IndustryTable.clear();
}

TEST_F(MainHandlersTest, DeletingAFriendAsksAndSparesTheServiceContact) {
  frm_->AddServiceContact();
  Users().AddEnterpriseFriend(FriendOf(10002, 1));
  frm_->RefreshFriendList();
  // Nothing selected.
  frm_->N3Click(nullptr);
  ASSERT_FALSE(dialogs_.calls.empty());
  EXPECT_EQ(dialogs_.calls.back().text, "请选中好友，再执行删除操作");
  // The service contact: asked, then nothing.
  // Answers go by call number: the first call was the box above.
  dialogs_.answers = {IDOK, IDYES, IDNO, IDYES};
  frm_->yListEnterprise->SetItemIndex(0);
  frm_->N3Click(nullptr);
  EXPECT_EQ(dialogs_.calls.back().text, "是否删除此好友？");
  EXPECT_EQ(Friends().size(), 2u);
  // No keeps the friend; yes deletes it and tells the server.
  frm_->yListEnterprise->SetItemIndex(1);
  frm_->N3Click(nullptr);
  EXPECT_EQ(Friends().size(), 2u);
  frm_->N3Click(nullptr);
  EXPECT_EQ(Friends(), std::vector<std::string>{"10000(在线)"});
  ASSERT_TRUE(ServerGot(proto::DeleteFriend));
  std::string body = server_.RequestsOf(proto::DeleteFriend)[0].Frame.Body;
  EXPECT_NE(body.find("10001"), std::string::npos);
  EXPECT_NE(body.find("10002"), std::string::npos);
  EXPECT_EQ(Users().Friends.size(), 1u);
  frm_->N2Click(nullptr);
  EXPECT_EQ(frm_->yListEnterprise->ItemIndex(), -1);
}

// The icon is in the notification area from the window's first show, so balloons and the
// blinking of waiting messages are seen before any minimise. The shell is told once the
// windows on their way to the screen have painted, not while the description is read.
TEST_F(MainHandlersTest, TheTrayIconIsPresentFromTheStart) {
  EXPECT_TRUE(frm_->TrayNotifyIcon->IconVisible());
  EXPECT_EQ(notify_.Present(), nullptr);
  frm_->LoginSucceeded(false, "10001");
  frm_->Show();
  testing_support::PumpFor(100);
  EXPECT_NE(notify_.Present(), nullptr);
  EXPECT_TRUE(frm_->TrayNotifyIcon->IconVisible());
}

// A balloon cannot wait for that moment: it brings its icon along at once.
TEST_F(MainHandlersTest, ABalloonBeforeTheIconsFirstShowingAddsTheIconFirst) {
  ASSERT_EQ(notify_.Present(), nullptr);
  frm_->TrayNotifyIcon->ShowBalloonHint("系统提示", "好友上线", TBalloonIconKind::bikInfo, 5);
  EXPECT_NE(notify_.Present(), nullptr);
  ASSERT_FALSE(notify_.calls.empty());
  EXPECT_EQ(notify_.calls.front().first, (DWORD)NIM_ADD);
  EXPECT_EQ(notify_.balloons, std::vector<std::string>{"系统提示|好友上线"});
  testing_support::PumpFor(100);  // and the first showing does not come again
  int adds = 0;
  for (const auto& c : notify_.calls) adds += c.first == NIM_ADD;
  EXPECT_EQ(adds, 1);
}

TEST_F(MainHandlersTest, InfoAndPublishingPagesOpenInTheSystemBrowser) {
  TWebStub web("127.0.0.1", 0);
  web.Start();
  IniFile->WriteString("Logininfo", "host", "127.0.0.1:" + std::to_string(web.Port()));
  LoginCheckFormat = "/checkloginexe.asp?name=%s&password=%s";
  PublishUrl = web.BaseUrl() + "/fabu.asp?action=add";
  testing_support::RecordingShell shell;
  seams::ScopedSeam<seams::IShell> seam(&shell);
  frm_->btneditinfoClick(nullptr);
  frm_->yZiXunClick(nullptr);
  using Call = std::pair<std::string, std::string>;
  EXPECT_EQ(shell.opened, (std::vector<Call>{{web.BaseUrl() + "/user_admin.asp", ""}, {PublishUrl, ""}}));
  EXPECT_TRUE(shell.started.empty());
  // Each logged in to the site first.
  EXPECT_EQ(web.RequestCount("/checkloginexe.asp"), 2);
  LoginCheckFormat.clear();
  PublishUrl.clear();
}

TEST_F(MainHandlersTest, AFriendListLeavesItsTraceLine) {
  Hand(proto::FriendList, stub::FriendListBody({FriendOf(10002, 1)}));
  EXPECT_EQ(Users().Friends.size(), 1u);
  EXPECT_NE(Log().find("【OnFriendUser】"), std::string::npos) << Log();
}

// A chat window that is closing hides until it is freed: a message for its partner that
// arrives meanwhile waits behind the tray icon and comes up in a new window.
TEST_F(MainHandlersTest, AMessageForAChatWindowBeingClosedReachesTheUser) {
  Users().AddEnterpriseFriend(FriendOf(10002, 1));
  auto* closing = CreateForm<TChatFrm>(Application);
  closing->SetPartner("10002", "友10002", true);
  closing->Close();
  Hand(proto::ChatMsg, stub::ChatBody(0, 1, BuildFormattedText(10, "宋体", 0, "关窗时到的话"), "10002", dt::Now()));
  ASSERT_EQ(Users().ReceiveMsgList.size(), 1u);
  EXPECT_TRUE(frm_->TrayNotifyIcon->CycleIcons());
  PumpFor(100);  // the closed window is freed
  frm_->FlashTrayHasMsg();
  auto* opened = dynamic_cast<TChatFrm*>(chat_windows::Find("10002", true));
  ASSERT_NE(opened, nullptr);
  EXPECT_TRUE(IsWindowVisible(opened->Handle()));
  EXPECT_NE(opened->yReceiveContent->Text().find("关窗时到的话"), std::string::npos);
  EXPECT_TRUE(Users().ReceiveMsgList.empty());
}

namespace {
struct SwitchableNet : seams::INetState {
  bool connected = true;
  bool IsConnected() override { return connected; }
};

// The login window on the screen, or nullptr.
TLoginFrm* ShowingLogin() {
  for (int i = 0; i < Screen().FormCount(); ++i)
    if (auto* login = dynamic_cast<TLoginFrm*>(Screen().Forms(i)); login && login->Showing()) return login;
  return nullptr;
}
}  // namespace

// The machine loses its network: the window says so, stops its timers, shows the
// disconnected tray picture and a login window for the same account that says why it is
// there; the hot key then only brings the window back and keeps that picture.
TEST_F(MainHandlersTest, ANetworkLossOffersALoginAgain) {
  SwitchableNet net;
  seams::ScopedSeam<seams::INetState> netSeam(&net);
  LoginHistory = std::make_unique<TStringList>();  // the start routine's, which the login fills
  IniFile->WriteString("Logininfo", "username", "10001");
  // The tray frames the program carries: connected, disconnected, blank.
  for (COLORREF c : {RGB(0, 128, 0), RGB(128, 0, 0), RGB(255, 255, 255)}) {
    HDC screen = GetDC(nullptr);
    HBITMAP frame = CreateCompatibleBitmap(screen, 32, 32);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, frame);
    HBRUSH brush = CreateSolidBrush(c);
    RECT r{0, 0, 32, 32};
    FillRect(mem, &r, brush);
    DeleteObject(brush);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    frm_->ImageList->AddMasked(frame, RGB(255, 0, 255));
    DeleteObject(frame);
  }
  frm_->Show();
  frm_->LoginSucceeded(false, "10001");
  frm_->StartNetworkTimer();
  ASSERT_TRUE(frm_->TimerDomain->Enabled());
  ASSERT_EQ(frm_->TrayNotifyIcon->IconIndex(), 0);
  net.connected = false;
  std::string account, status;
  bool relogin = false;
  WhilePumping([&] {
    TLoginFrm* login = ShowingLogin();
    if (!login) return false;
    account = login->yUserid->Text();
    status = login->statusServer->PanelText(0);
    relogin = login->Relogin;
    login->Close();
    return true;
  });
  frm_->TimerTimer(frm_->Timer);
  EXPECT_EQ(account, "10001");
  EXPECT_EQ(status, "网络断开，请重新登陆服务器");
  EXPECT_TRUE(relogin);
  ASSERT_FALSE(dialogs_.calls.empty());
  EXPECT_EQ(dialogs_.calls[0].text, "网络连接断开,请重新登陆");
  EXPECT_NE(Log().find("网络连接断开，请重新连接网络"), std::string::npos);
  EXPECT_FALSE(IsConnected);
  EXPECT_FALSE(frm_->Timer->Enabled());
  EXPECT_FALSE(frm_->TimerDomain->Enabled());
  EXPECT_EQ(frm_->StatusBar->PanelText(0), "当前状态:本地网络问题断开连接");
  EXPECT_EQ(frm_->TrayNotifyIcon->IconIndex(), 1);
  // Nothing waits: the hot key brings the window back and the picture stays.
  TCustomForm* mainForm = Application->MainForm();
  Application->SetMainForm(frm_.get());
  frm_->Hide();
  SendMessageA(frm_->Handle(), WM_HOTKEY, 0, 0);
  EXPECT_TRUE(IsWindowVisible(frm_->Handle()));
  EXPECT_EQ(frm_->TrayNotifyIcon->IconIndex(), 1);
  frm_->TrayNotifyIconDblClick(frm_->TrayNotifyIcon);
  EXPECT_EQ(frm_->TrayNotifyIcon->IconIndex(), 1);
  Application->SetMainForm(mainForm);
  LoginHistory.reset();
}

// The ini file's host is data: conversion characters in it reach the address as they are.
TEST_F(MainHandlersTest, ThePercentSignsOfTheIniHostStayInTheLoginCheckAddress) {
  TWebStub web("127.0.0.1", 0);
  web.Start();
  IniFile->WriteString("Logininfo", "host", "127.0.0.1:" + std::to_string(web.Port()) + "/%s%d%n");
  LoginCheckFormat = "/checkloginexe.asp?name=%s&password=%s";
  LoginData.Password = "demo";
  frm_->OpenServiceUrl();
  std::vector<TStubRequest> got = web.Requests();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].Path, "/%s%d%n/checkloginexe.asp");
  EXPECT_EQ(got[0].Param("name"), "10001");
  EXPECT_EQ(got[0].Param("password"), MD5Print(MD5String("demo")));
  LoginCheckFormat.clear();
}
