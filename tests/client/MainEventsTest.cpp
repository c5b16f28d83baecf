// The main window's server events end to end: real Client.exe processes logged in to the
// stand-in service server on loopback, which sends the frames at once after the login reply;
// the lists, chat windows, waiting messages and the record of customer messages are read from
// outside, as a person would see them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "client/MessageBlock.h"
#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/SysUtils.h"
#include "tests/client/ClientProcess.h"
#include "tests/client/EventFixtures.h"
#include "tests/support/ScreenShot.h"
#include "tests/support/TestSupport.h"
#include "tools/serviceserver/ServiceServer.h"
#include "tools/webstub/WebStub.h"

using namespace client_test;

namespace {

// One program folder whose server line is `address`.
struct Side {
  AppFolder app{true, false};
  std::unique_ptr<Process> process;
  HWND main = nullptr;

  Side(const std::string& address, uint16_t webPort) { PointAtStandIns(app, address, webPort); }

  DWORD Pid() const { return process->Id(); }

  // Starts the program and logs in; the main window when it shows.
  HWND LogIn(const std::string& account) {
    process = std::make_unique<Process>(app.Exe());
    HWND login = WaitForWindow(Pid(), "TLoginFrm");
    if (!login || !WaitFor([&] { return IsWindowVisible(login) != FALSE; })) return nullptr;
    TypeLogin(login, account, "demo");
    main = nullptr;
    WaitFor([&] { return (main = FindVisibleWindow(Pid(), "TMainFrm")) != nullptr; }, 15000);
    return main;
  }

  void Quit() {
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process->Ended(20000));
  }

  // The main window's two owner-drawn lists, friends first.
  HWND List(int which) const {
    std::vector<HWND> lists;
    for (HWND h : testing_support::ChildWindows(main))
      if (sys::SameText(ClassOf(h), "ListBox")) lists.push_back(h);
    return which < (int)lists.size() ? lists[which] : nullptr;
  }
  std::vector<std::string> Items(int which) const {
    HWND list = List(which);
    std::vector<std::string> items;
    int n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    // The list is a Unicode window: asked from another process it answers in UTF-16.
    for (int i = 0; i < n; ++i) {
      // The list may be refilled while it is read: an item gone answers LB_ERR.
      LRESULT len = SendMessageW(list, LB_GETTEXTLEN, i, 0);
      if (len == LB_ERR) break;
      std::wstring s((size_t)len + 1, L'\0');
      LRESULT got = SendMessageW(list, LB_GETTEXT, i, (LPARAM)s.data());
      if (got == LB_ERR || got > len) break;
      s.resize((size_t)got);
      std::string a((s.size() + 1) * 2, '\0');
      a.resize(
          (size_t)WideCharToMultiByte(CP_ACP, 0, s.data(), (int)s.size(), a.data(), (int)a.size(), nullptr, nullptr));
      items.push_back(a);
    }
    return items;
  }
  std::vector<std::string> Friends() const { return Items(0); }
  std::vector<std::string> Customers() const { return Items(1); }
  bool WaitFriends(const std::vector<std::string>& want) const {
    return WaitFor([&] {
      auto have = Friends();
      std::sort(have.begin(), have.end());
      auto w = want;
      std::sort(w.begin(), w.end());
      return have == w;
    });
  }

  // The chat window with that caption, and what its conversation shows.
  HWND ChatWindow(const std::string& caption, int ms = 10000) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
          for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "TChatFrm", nullptr));) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == Pid() && TextOf(h) == caption) found = h;
          }
          return found != nullptr;
        },
        ms);
    return found;
  }
  static std::string Conversation(HWND chat) {
    std::string all;
    for (HWND h : testing_support::ChildWindows(chat))
      if (sys::SameText(ClassOf(h).substr(0, 8), "RichEdit")) all += TextOf(h) + "|";
    return all;
  }
  // The record of customer messages on the second page. Its window is made when the page is
  // first shown (or something is written to it in its own format): the page is chosen once
  // by a click on its tab, as a user would, and left again.
  std::string Record() const {
    auto isRecord = [](HWND h) { return sys::SameText(ClassOf(h).substr(0, 8), "RichEdit"); };
    HWND edit = FindChild(main, isRecord);
    if (!edit) {
      HWND tabs = FindChild(main, [](HWND h) { return ClassOf(h) == "SysTabControl32"; });
      ClickTab(tabs, 1);
      WaitFor([&] { return (edit = FindChild(main, isRecord)) != nullptr && IsWindowVisible(edit); }, 3000);
      ClickTab(tabs, 0);
    }
    return TextOf(edit);
  }
  // Clicks along the tab row until the tab control has chosen `tab`.
  static void ClickTab(HWND tabs, int tab) {
    RECT r{};
    GetClientRect(tabs, &r);
    for (int x = 8; x < r.right && SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != tab; x += 12) {
      PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 8));
      PostMessageA(tabs, WM_LBUTTONUP, 0, MAKELPARAM(x, 8));
      WaitFor([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == tab; }, 100);
    }
  }
  std::string Log() const { return sys::ReadFileBytes(app.File("Client.log")); }

  // Opens the waiting messages as the hot key does.
  void HotKey() const { PostMessageA(main, WM_HOTKEY, 0, 0); }

  // Types into a chat window's send box and sends.
  static void Send(HWND chat, const std::string& text) {
    HWND box = FindChild(chat, [](HWND h) {
      return sys::SameText(ClassOf(h).substr(0, 8), "RichEdit") && !(GetWindowLongA(h, GWL_STYLE) & ES_READONLY);
    });
    SendMessageA(box, WM_SETTEXT, 0, (LPARAM)text.c_str());
    PostClick(FindChildByText(chat, "Button", "发送"));
  }

  // Double-clicks item `index` of a list.
  void DoubleClick(int which, int index) const {
    HWND list = List(which);
    SendMessageA(list, LB_SETCURSEL, index, 0);
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, index, (LPARAM)&r);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 5, r.top + 5));
  }
};

int IndexOf(const std::vector<std::string>& items, const std::string& item) {
  auto it = std::find(items.begin(), items.end(), item);
  return it == items.end() ? -1 : int(it - items.begin());
}

std::string Join(const std::vector<std::string>& items, const char* sep) {
  std::string out;
  for (const auto& i : items) out += (out.empty() ? "" : sep) + i;
  return out;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The stand-in server at `address` sending its follow-ups at once, and its web server.
struct World {
  stub::TServiceServer server;
  TWebStub web{"127.0.0.1", 0};
  std::string address;
  explicit World(const std::string& a) : address(a) {
    EXPECT_EQ(server.Start(a, 8014), 8014) << a;
    server.SetFollowUpDelay(0);
    web.Start();
  }
  std::unique_ptr<Side> NewSide() { return std::make_unique<Side>(address, web.Port()); }
};

}  // namespace

TEST(MainEvents, PresenceAndChatBetweenTwoLoggedInClients) {
  World w("127.0.0.41");
  auto a = w.NewSide(), b = w.NewSide();
  ASSERT_NE(a->LogIn("10001"), nullptr);
  // The friend list sent together with the login reply is not lost; the service contact is there.
  EXPECT_TRUE(a->WaitFriends({"10000(在线)", "10002(离线)"})) << Join(a->Friends(), ",");
  ASSERT_NE(b->LogIn("10002"), nullptr);
  EXPECT_TRUE(b->WaitFriends({"10000(在线)", "10001(在线)"}));
  EXPECT_TRUE(a->WaitFriends({"10000(在线)", "10002(在线)"}));

  // A opens a chat with B from its list and sends; B has no window open, so the message waits
  // until B opens it.
  a->DoubleClick(0, IndexOf(a->Friends(), "10002(在线)"));
  HWND aChat = a->ChatWindow("与企业好友10002交流中");
  ASSERT_NE(aChat, nullptr);
  Side::Send(aChat, "你好，二号");
  ASSERT_TRUE(WaitFor([&] { return w.server.CountOf(proto::ChatSend) == 1; }));
  testing_support::PumpFor(500);
  EXPECT_EQ(b->ChatWindow("与企业好友10001交流中", 300), nullptr);
  b->HotKey();
  HWND bChat = b->ChatWindow("与企业好友10001交流中");
  ASSERT_NE(bChat, nullptr);
  EXPECT_TRUE(WaitFor([&] { return Has(Side::Conversation(bChat), "你好，二号"); })) << Side::Conversation(bChat);
  EXPECT_TRUE(Has(Side::Conversation(bChat), "演示一号")) << Side::Conversation(bChat);

  // A stranger process posts the two messages that carry a pointer, with junk in it: the
  // program takes neither, lives on and still shows what comes next.
  for (UINT message : {10000u, 10001u}) ASSERT_TRUE(PostMessageA(aChat, message, 0, 0x1234));
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(aChat, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer), 0);
  EXPECT_FALSE(a->process->Ended(0));

  // With the window open a reply is shown there at once.
  Side::Send(bChat, "收到");
  EXPECT_TRUE(WaitFor([&] { return Has(Side::Conversation(aChat), "收到"); })) << Side::Conversation(aChat);
  SetForegroundWindow(aChat);
  testing_support::PumpFor(500);
  SaveWindowShot(aChat, Screenshots() + "chat-client.bmp");

  // A customer arriving through the web page.
  w.server.CustomerArrives(10001, 555);
  EXPECT_TRUE(WaitFor([&] { return a->Customers() == std::vector<std::string>{"咨询客户555(在线)"}; }));

  // B leaves: A sees it offline.
  b->Quit();
  EXPECT_TRUE(a->WaitFriends({"10000(在线)", "10002(离线)"}));
  EXPECT_TRUE(Has(a->Log(), "接收好友离线信息,好友号码:10002"));

  // A message to an offline friend arrives as an offline message at its next login.
  Side::Send(aChat, "离线时的话");
  ASSERT_TRUE(WaitFor([&] { return w.server.CountOf(proto::ChatSend) == 3; }));
  ASSERT_NE(b->LogIn("10002"), nullptr);
  testing_support::PumpFor(500);
  b->HotKey();
  bChat = b->ChatWindow("与企业好友10001交流中");
  ASSERT_NE(bChat, nullptr);
  EXPECT_TRUE(WaitFor([&] { return Has(Side::Conversation(bChat), "离线时的话"); })) << Side::Conversation(bChat);
  EXPECT_TRUE(Has(Side::Conversation(bChat), "(离线留言)")) << Side::Conversation(bChat);
  b->Quit();
  a->Quit();
}

TEST(MainEvents, AFriendRequestAcceptedShowsTheNewFriendOnBothSides) {
  World w("127.0.0.42");
  auto a = w.NewSide(), c = w.NewSide();
  ASSERT_NE(a->LogIn("10001"), nullptr);
  ASSERT_NE(c->LogIn("10003"), nullptr);
  EXPECT_TRUE(c->WaitFriends({"10000(在线)"}));
  // A's request, as the server passes it on.
  TFriendRecord from = FriendOf(10001, 1);
  w.server.SendToAccount(10003, stub::Frame(proto::FriendRequest, stub::FriendRequestBody("请加我", from)));
  HWND dialog = WaitForWindow(c->Pid(), "THinfAddFriendFrm");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(WaitFor([&] { return Has(ChildTexts(dialog), "请加我"); })) << ChildTexts(dialog);
  PostClick(FindChildByText(dialog, "Button", "确定"));
  EXPECT_TRUE(WaitFor([&] { return w.server.CountOf(proto::FriendAccept) == 1; }));
  EXPECT_TRUE(c->WaitFriends({"10000(在线)", "10001(在线)"})) << Join(c->Friends(), ",");
  EXPECT_TRUE(a->WaitFriends({"10000(在线)", "10002(离线)", "10003(在线)"})) << Join(a->Friends(), ",");

  // Requests stored while offline open one dialog each, with their own time.
  std::vector<TStoredRequest> stored(2);
  stored[0].Requester = 10005, stored[0].Text = "早先的请求", stored[0].Time = dt::EncodeDate(2026, 2, 1);
  stored[1].Requester = 10006, stored[1].Text = "另一个", stored[1].Time = dt::EncodeDate(2026, 2, 2);
  stored[0].Record = FriendOf(10005, 0), stored[1].Record = FriendOf(10006, 0);
  w.server.SendToAccount(10003, stub::Frame(proto::OffLineFriendRequests, stub::StoredRequestsBody(stored)));
  std::vector<HWND> dialogs;
  EXPECT_TRUE(WaitFor([&] {
    dialogs.clear();
    for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "THinfAddFriendFrm", nullptr));) {
      DWORD pid = 0;
      GetWindowThreadProcessId(h, &pid);
      if (pid == c->Pid() && IsWindowVisible(h)) dialogs.push_back(h);
    }
    return dialogs.size() == 2;
  }));
  std::string texts;
  for (HWND d : dialogs) texts += ChildTexts(d);
  EXPECT_TRUE(Has(texts, "早先的请求") && Has(texts, "另一个")) << texts;
  c->Quit();
  a->Quit();
}

TEST(MainEvents, ServerBodiesAgainstTheListsAndTheLog) {
  World w("127.0.0.43");
  auto a = w.NewSide();
  ASSERT_NE(a->LogIn("10001"), nullptr);
  ASSERT_TRUE(a->WaitFriends({"10000(在线)", "10002(离线)"}));
  auto push = [&](uint8_t proto, const std::string& body) { w.server.SendToAccount(10001, stub::Frame(proto, body)); };

  struct FriendCase {
    const char* what;
    uint8_t proto;
    std::string body;
    std::vector<std::string> friends;
  } friendCases[] = {
      {"a count past the records is dropped",
       proto::FriendList,
       std::string("\x03", 1) + std::string((const char*)FriendOf(10005, 1).Data(), 200),
       {"10000(在线)", "10002(离线)"}},
      {"a friend listed twice appears once",
       proto::FriendList,
       stub::FriendListBody({FriendOf(10004, 1), FriendOf(10004, 1)}),
       {"10000(在线)", "10002(离线)", "10004(在线)"}},
      {"a friend comes online",
       proto::FriendOnline,
       stub::FriendRecordBody(FriendOf(10002, 1)),
       {"10000(在线)", "10002(在线)", "10004(在线)"}},
      {"a short record is dropped", proto::FriendOnline, std::string(199, '\0'), {"10000(在线)", "10002(在线)", "10004(在线)"}},
      {"a friend goes offline", proto::FriendOffline, stub::AccountBody(10004), {"10000(在线)", "10002(在线)", "10004(离线)"}},
      {"a new friend",
       proto::AddFriendToList,
       stub::FriendRecordBody(FriendOf(10006, 0)),
       {"10000(在线)", "10002(在线)", "10004(离线)", "10006(离线)"}},
      {"a friend removed this user",
       proto::DeleteFriend,
       stub::AccountBody(10002),
       {"10000(在线)", "10002(离线)", "10004(离线)", "10006(离线)"}},
  };
  for (const auto& c : friendCases) {
    push(c.proto, c.body);
    EXPECT_TRUE(a->WaitFriends(c.friends)) << c.what << ": " << Join(a->Friends(), ",");
  }
  EXPECT_TRUE(Has(a->Log(), "接收好友离线信息,好友号码:10004"));

  struct CustomerCase {
    const char* what;
    uint8_t proto;
    std::string body;
    std::vector<std::string> customers;
  } customerCases[] = {
      {"known numbers add no duplicates",
       proto::CustomerList,
       stub::CustomerListBody({555, 556, 555}),
       {"咨询客户555(在线)", "咨询客户556(在线)"}},
      {"new numbers of the same message still come",
       proto::CustomerList,
       stub::CustomerListBody({556, 557}),
       {"咨询客户555(在线)", "咨询客户556(在线)", "咨询客户557(在线)"}},
      {"a count past the body is dropped",
       proto::CustomerList,
       std::string("\xC8\x01\x02\x03\x04", 5),
       {"咨询客户555(在线)", "咨询客户556(在线)", "咨询客户557(在线)"}},
      {"a customer leaves", proto::CustomerLeft, stub::CustomerLeftBody("556"), {"咨询客户555(在线)", "咨询客户557(在线)"}},
      {"a length past the body is dropped",
       proto::CustomerLeft,
       std::string("\x09"
                   "55",
                   3),
       {"咨询客户555(在线)", "咨询客户557(在线)"}},
  };
  for (const auto& c : customerCases) {
    push(c.proto, c.body);
    EXPECT_TRUE(WaitFor([&] { return a->Customers() == c.customers; })) << c.what;
  }
  EXPECT_TRUE(Has(a->Log(), "556断开"));
  testing_support::PumpFor(300);
  SaveWindowShot(a->main, Screenshots() + "main-lists.png");
  push(33, stub::CustomerLeftBody("555"));
  push(33, stub::CustomerLeftBody("557"));
  // The last customer gone: the advertising pane is back in place of the list.
  EXPECT_TRUE(WaitFor([&] { return a->Customers().empty() && !IsWindowVisible(a->List(1)); }));

  // Messages: an oversized one is refused with a log line; a customer's, a stored friend's and
  // a waiting customer's each open their own chat window with their own text.
  push(12, stub::ChatBody(0, 1, BuildFormattedText(10, "宋体", 0, std::string(12000, 'x')), "10002", dt::Now()));
  EXPECT_TRUE(WaitFor([&] { return Has(a->Log(), "消息块超出长度"); }));
  push(12, stub::ChatBody(0, 0, BuildCustomerFormattedText(10, "宋体", "255", "客户的问题"), "555", dt::Now()));
  push(12, stub::ChatBody(1, 1, BuildFormattedText(10, "宋体", 0, "存下的话"), "10002", dt::EncodeDate(2026, 1, 2)));
  push(35, stub::WaitingMessagesBody(0, {{"等着的话", "888", dt::EncodeDate(2026, 1, 3)}}));
  testing_support::PumpFor(500);
  a->HotKey();
  HWND customer = a->ChatWindow("与咨询客户555交流中");
  HWND stored = a->ChatWindow("与企业好友10002交流中");
  HWND waiting = a->ChatWindow("与咨询客户888交流中");
  ASSERT_NE(customer, nullptr);
  ASSERT_NE(stored, nullptr);
  ASSERT_NE(waiting, nullptr);
  EXPECT_TRUE(WaitFor([&] { return Has(Side::Conversation(customer), "客户的问题"); }));
  EXPECT_TRUE(Has(Side::Conversation(stored), "存下的话")) << Side::Conversation(stored);
  EXPECT_FALSE(Has(Side::Conversation(stored), "客户的问题")) << Side::Conversation(stored);
  EXPECT_TRUE(Has(Side::Conversation(waiting), "等着的话")) << Side::Conversation(waiting);
  EXPECT_TRUE(Has(a->Record(), "咨询客户555")) << a->Record();

  // Offline messages of customers open their window; closing it copies one block per row
  // into the record.
  push(35, stub::WaitingMessagesBody(1, {{"第一行\r第二行\r第三行", "777", dt::EncodeDate(2026, 1, 4)},
                                         {"后来的", "778", dt::EncodeDate(2026, 1, 5)}}));
  HWND offline = WaitForWindow(a->Pid(), "TMsgHistoryFrm");
  ASSERT_NE(offline, nullptr);
  EXPECT_EQ(TextOf(offline), "离线留言信息");
  PostMessageA(offline, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return Has(a->Record(), "第三行"); })) << a->Record();
  std::string record = a->Record();
  for (const char* line : {"第一行", "第二行", "第三行", "后来的"}) EXPECT_TRUE(Has(record, line)) << line;
  size_t blocks = 0;
  for (size_t at = 0; (at = record.find("咨询客户777", at)) != std::string::npos; ++at) ++blocks;
  EXPECT_EQ(blocks, 3u) << record;

  // Logged in elsewhere: the box says so and the status shows the connection gone.
  push(36, "");
  HWND box = WaitForWindow(a->Pid(), "#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(WaitFor([&] { return Has(ChildTexts(box), "此帐号已在另外一个地方登陆"); })) << ChildTexts(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return Has(ChildTexts(a->main), "当前状态:与服务器断开连接"); }));
  a->Quit();
}

namespace {

// A run over a day's file that holds `earlier`: the record shows it, customer 555 says
// "这一次的话", the program ends; `saved` gets the file as the run left it.
void RunOverTheDaysFile(const char* address, const std::string& earlier, std::string& saved) {
  World w(address);
  auto a = w.NewSide();
  std::string file = a->app.File("HistoryLog\\" + dt::DateToStr(dt::Now()) + ".txt");
  sys::ForceDirectories(sys::ExtractFilePath(file));
  sys::WriteFileBytes(file, earlier);
  ASSERT_NE(a->LogIn("10001"), nullptr);
  EXPECT_TRUE(WaitFor([&] { return Has(a->Record(), "上一次的话"); })) << a->Record();
  w.server.CustomerArrives(10001, 555);
  ASSERT_TRUE(WaitFor([&] { return a->Customers().size() == 1; }));
  w.server.CustomerMessage(10001, 555, "这一次的话");
  testing_support::PumpFor(500);
  a->HotKey();
  ASSERT_TRUE(WaitFor([&] { return Has(a->Record(), "这一次的话"); })) << a->Record();
  a->Quit();
  saved = sys::ReadFileBytes(file);
}

}  // namespace

// The day's record of customer messages already on disk is loaded at the start and kept at
// exit: the file gets only what this run added, once.
TEST(MainEvents, TheDaysRecordGetsOnlyThisRunsAdditions) {
  const std::string earlier = "咨询客户444  2026-01-01 08:00:00\r\n    上一次的话\r\n";
  std::string saved;
  ASSERT_NO_FATAL_FAILURE(RunOverTheDaysFile("127.0.0.46", earlier, saved));
  ASSERT_EQ(saved.compare(0, earlier.size(), earlier), 0) << saved;
  std::string added = saved.substr(earlier.size());
  EXPECT_EQ(added.find("上一次的话"), std::string::npos) << saved;
  EXPECT_EQ(added.find("咨询客户555  "), 0u) << saved;
  EXPECT_NE(added.find("\r\n    这一次的话\r\n"), std::string::npos) << saved;
}

// A day's file that the program did not write as it is (lines ended by LF alone, as another
// editor saves them; a tail of zero bytes, as a crash leaves it) shows in the record other
// than it is on disk. The file still gets only this run's additions, not its own text again.
TEST(MainEvents, MendADamagedDaysRecordIsNotAppendedAgain) {
  struct Case {
    const char* name;
    std::string earlier;
  };
  const Case cases[] = {
      {"line feeds", "咨询客户444  2026-01-01 08:00:00\n    上一次的话\n"},
      {"zero tail", std::string("咨询客户444  2026-01-01 08:00:00\r\n    上一次的话\r\n") + std::string(16, '\0')},
  };
  const char* addresses[] = {"127.0.0.49", "127.0.0.50"};
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    const std::string& earlier = cases[i].earlier;
    std::string saved;
    ASSERT_NO_FATAL_FAILURE(RunOverTheDaysFile(addresses[i], earlier, saved));
    ASSERT_EQ(saved.compare(0, earlier.size(), earlier), 0) << saved;
    std::string added = saved.substr(earlier.size());
    EXPECT_EQ(added.find("上一次的话"), std::string::npos) << added;
    EXPECT_NE(added.find("咨询客户555  "), std::string::npos) << added;
    EXPECT_NE(added.find("    这一次的话\r\n"), std::string::npos) << added;
  }
}

// A customer list that arrives in the same read as the login reply stays in view: the
// advertising pane the main window shows while it is being made does not cover it.
TEST(MainEvents, ACustomerListWithTheLoginReplyIsNotCovered) {
  World w("127.0.0.47");
  TLoginReply r;
  w.server.QueueReply(proto::Login, stub::Frame(proto::Login, stub::LoginReplyBody(r)) +
                                        stub::Frame(proto::CustomerList, stub::CustomerListBody({555})));
  auto a = w.NewSide();
  ASSERT_NE(a->LogIn("10001"), nullptr);
  ASSERT_TRUE(WaitFor([&] { return a->Customers() == std::vector<std::string>{"咨询客户555(在线)"}; }));
  testing_support::PumpFor(300);
  HWND list = a->List(1);
  ASSERT_TRUE(IsWindowVisible(list));
  RECT lr;
  GetWindowRect(list, &lr);
  POINT centre{(lr.left + lr.right) / 2, (lr.top + lr.bottom) / 2};
  for (HWND h = GetWindow(GetParent(list), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    RECT r2;
    if (h == list || !IsWindowVisible(h) || !GetWindowRect(h, &r2)) continue;
    EXPECT_FALSE(PtInRect(&r2, centre)) << ClassOf(h) << " covers the customer list";
  }
  a->Quit();
}

namespace {
int WidthOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r.right - r.left;
}
int ClientWidthOf(HWND h) {
  RECT r{};
  GetClientRect(h, &r);
  return r.right;
}
// The skin engine's answer to its query message: 1 for a window it skins.
bool Skinned(HWND h) { return SendMessageA(h, 0x3504, 0, 0) == 1; }
// The process's hint window while it shows, or nullptr.
HWND ShownHint(DWORD pid) {
  HWND h = FindVisibleWindow(pid, "THintWindow");
  return h && IsWindowVisible(h) ? h : nullptr;
}
}  // namespace

TEST(MainEvents, AChatWindowOpenedByAMessageIsNarrowUntilItsHistoryIsShown) {
  World w("127.0.0.44");
  auto a = w.NewSide(), b = w.NewSide();
  ASSERT_NE(a->LogIn("10001"), nullptr);
  ASSERT_NE(b->LogIn("10002"), nullptr);
  ASSERT_TRUE(a->WaitFriends({"10000(在线)", "10002(在线)"}));
  a->DoubleClick(0, IndexOf(a->Friends(), "10002(在线)"));
  HWND aChat = a->ChatWindow("与企业好友10002交流中");
  ASSERT_NE(aChat, nullptr);
  Side::Send(aChat, "看一下宽度");
  ASSERT_TRUE(WaitFor([&] { return w.server.CountOf(proto::ChatSend) == 1; }));
  testing_support::PumpFor(500);
  b->HotKey();
  HWND chat = b->ChatWindow("与企业好友10001交流中");
  ASSERT_NE(chat, nullptr);
  ASSERT_TRUE(WaitFor([&] { return Has(Side::Conversation(chat), "看一下宽度"); }));
  // Only the conversation and the send box show, and stay so once the skin has finished: the
  // client area of a 378-pixel window with the system's frame, inside the skin's frame.
  testing_support::PumpFor(1000);
  EXPECT_TRUE(Skinned(chat));
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
  EXPECT_EQ(ClientWidthOf(chat), 378 - (frame.right - frame.left));
  EXPECT_LT(WidthOf(chat), 400);

  HWND history = FindChildByText(chat, "Button", "历史记录");
  ASSERT_NE(history, nullptr);
  PostClick(history);
  EXPECT_TRUE(WaitFor([&] { return TextOf(history) == "关闭记录"; }));
  testing_support::PumpFor(300);
  EXPECT_EQ(WidthOf(chat), 807);
  EXPECT_TRUE(Skinned(chat));
  PostClick(history);
  EXPECT_TRUE(WaitFor([&] { return TextOf(history) == "历史记录"; }));
  testing_support::PumpFor(300);
  EXPECT_EQ(WidthOf(chat), 382);
  EXPECT_TRUE(Skinned(chat));
  b->Quit();
  a->Quit();
}

TEST(MainEvents, EachLeftHandButtonShowsItsHintWhileThePointerRestsOnIt) {
  World w("127.0.0.45");
  auto a = w.NewSide();
  HWND main = a->LogIn("10001");
  ASSERT_NE(main, nullptr);
  SetForegroundWindow(main);
  testing_support::PumpFor(500);
  // The visible picture buttons of the left-hand panel, top to bottom.
  RECT mr{};
  GetWindowRect(main, &mr);
  std::vector<HWND> buttons;
  for (HWND h : testing_support::ChildWindows(main)) {
    RECT r{};
    GetWindowRect(h, &r);
    if (sys::SameText(ClassOf(h), "Button") && IsWindowVisible(h) && TextOf(h).empty() && r.right - mr.left < 60)
      buttons.push_back(h);
  }
  std::sort(buttons.begin(), buttons.end(), [](HWND x, HWND y) {
    RECT a{}, b{};
    GetWindowRect(x, &a);
    GetWindowRect(y, &b);
    return a.top < b.top;
  });
  const std::vector<std::string> hints = {"查找好友", "网站推广工具", "修改个人信息", "贸易", "书签", "常用服务", "发布资讯信息"};
  ASSERT_EQ(buttons.size(), hints.size());
  POINT away{mr.left + 140, mr.top + 300};  // on the friend list, which has no hint
  for (size_t i = 0; i < buttons.size(); ++i) {
    RECT r{};
    GetWindowRect(buttons[i], &r);
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // Onto the button the way a mouse comes, in more than one step.
    testing_support::MovePointer(POINT{at.x - 3, at.y - 3});
    testing_support::PumpFor(50);
    testing_support::MovePointer(at);
    HWND hint = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (hint = ShownHint(a->Pid())) && TextOf(hint) == hints[i]; }, 8000))
        << hints[i] << " / " << (hint ? TextOf(hint) : std::string("no hint"));
    if (i == 3 && hint) {
      // The main window with the hint below the pointer.
      RECT hr{};
      GetWindowRect(hint, &hr);
      RECT shot{mr.left, mr.top, std::max(mr.right, hr.right + 4), std::max(mr.bottom, hr.bottom + 4)};
      testing_support::SaveScreenRect(shot, Screenshots() + "main-hint.png");
    }
    testing_support::MovePointer(away);
    EXPECT_TRUE(WaitFor([&] { return ShownHint(a->Pid()) == nullptr; }, 3000)) << hints[i] << " stays";
  }
  a->Quit();
}
