// The registration, settings, trade, services and news windows in-process against the
// stand-in servers, with the program's own form descriptions. What ends the program or
// writes beside it (the backup, the restore entry, a new server line) runs in a copy of this
// test program in a folder of its own (see ChildRun below).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "client/ServerHost.h"
#include "client/uBackUp.h"
#include "client/uChatFrm.h"
#include "client/uEnterprise.h"
#include "client/uLogin.h"
#include "client/uMain.h"
#include "client/uRegisterFrm.h"
#include "client/uSoftWare.h"
#include "client/uTrade.h"
#include "client/uZiXun.h"
#include "core/MD5.h"
#include "core/uDataBack.h"
#include "core/uDataOperate.h"
#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "core/uHelpers.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"
#include "platform/web/WebBrowser.h"
#include "socket/AsyncClientSocket.h"
#include "tests/client/ChatWorld.h"
#include "tests/client/ClientProcess.h"
#include "tests/client/LocalDbQuery.h"
#include "tools/serviceserver/ServiceBodies.h"
#include "tools/webstub/WebStub.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

template <class T>
T* OpenForm() {
  for (int i = 0; i < Screen().FormCount(); ++i)
    if (auto* f = dynamic_cast<T*>(Screen().Forms(i)); f && f->Showing()) return f;
  return nullptr;
}

// The build's screenshot folder; a copy of this program in another folder is told where it is.
constexpr char kScreenshotVariable[] = "KARV_SCREENSHOTS";
std::string Screenshots() {
  const char* given = getenv(kScreenshotVariable);
  return given ? std::string(given) : client_test::BinFolder() + "..\\screenshots\\";
}

void Shot(TCustomForm* f, const std::string& name) {
  SetForegroundWindow(f->Handle());
  PumpFor(300);
  sys::ForceDirectories(Screenshots());
  client_test::SaveWindowShot(f->Handle(), Screenshots() + name + ".bmp");
}

// A step for WhilePumping that may pump itself (a screenshot waits for painting): the timer
// that runs it must not run it again meanwhile.
std::function<bool()> Guarded(std::function<bool()> step) {
  auto busy = std::make_shared<bool>(false);
  return [busy, step] {
    if (*busy) return false;
    *busy = true;
    bool done = step();
    *busy = false;
    return done;
  };
}

// A press and release at a point of a window, as the mouse gives them.
void ClickAt(HWND h, POINT p) {
  LPARAM at = MAKELPARAM(p.x, p.y);
  PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(h, WM_LBUTTONUP, 0, at);
}

void ClickEntry(TTreeView* tree, int index) {
  RECT r = tree->ItemRect(index);
  ClickAt(tree->Handle(), POINT{r.left + 10, (r.top + r.bottom) / 2});
}

// The world of these tests: the chat tests' world with the system database as well.
class WindowsTest : public ChatWorld {
 protected:
  void SetUp() override {
    SystemDb = TDatabaseInfo{};
    SystemDb.Path = dir_.File("DataConfig\\LocalDb.mdb");
    SystemDb.Password = kDatabasePassword;
    SystemDb.IsSystem = true;
    ASSERT_TRUE(OpenOrCreateDatabase(SystemDb));
    ChatWorld::SetUp();
    RegisterWebBrowser();
    if (!ShortWords) ShortWords = std::make_unique<TStringList>();
  }
  void TearDown() override {
    ChatWorld::TearDown();
    SystemDb = TDatabaseInfo{};
  }
  std::string LastBox() const { return dialogs_.calls.empty() ? "" : dialogs_.calls.back().text; }
};

// ---------------------------------------------------------------- login again

// After the machine's network went away the program counts itself disconnected while its
// socket may still be open. The login window's first "登陆" connects anew (it used to meet
// the open socket and tell the user the server could not be reached).
TEST_F(WindowsTest, MendedTheFirstLoginClickAfterANetworkLossConnects) {
  stub::TServiceServer line;  // the current line's server; logins always use port 8014
  ASSERT_EQ(line.Start("127.0.0.48", 8014), 8014);
  { client_test::LocalDbQuery db(SystemDb.Path, "update HostList set HostName='127.0.0.48' where HostDescription='网通线路'");
    db.query.ExecSQL(); }
  ASSERT_TRUE(ServiceClient->Socket().State() == wsConnected);
  IsConnected = false;  // what the network timer leaves behind
  if (!LoginHistory) LoginHistory = std::make_unique<TStringList>();
  TOwned<TLoginFrm> login(CreateForm<TLoginFrm>(nullptr));
  login->Relogin = true;
  login->Show();
  login->yUserid->SetText("10001");
  login->yPassword->SetText("demo");
  login->btnLogin->Click();
  ASSERT_TRUE(testing_support::PumpUntil([&] { return !line.RequestsOf(proto::Login).empty(); }, 5000)) << Boxes();
  EXPECT_TRUE(testing_support::PumpUntil([&] { return !login->Visible(); }, 5000));
  EXPECT_TRUE(IsConnected);
  EXPECT_EQ(Boxes(), "");
  line.Stop();
}

// ---------------------------------------------------------------- registration

struct RegisterInput {
  const char *account, *nick, *pass, *okPass, *email, *url;
};

void Fill(TRegisterFrm* f, const RegisterInput& in) {
  f->yAccount->SetText(in.account);
  f->yNickName->SetText(in.nick);
  f->yPass->SetText(in.pass);
  f->yOkPass->SetText(in.okPass);
  f->yEmail->SetText(in.email);
  f->yurl->SetText(in.url);
}

const RegisterInput kGood{"演示贸易公司", "小王", "secret", "secret", "sales@demo-trade.cn", ""};

TEST_F(WindowsTest, RegistrationChecksEachInputInItsOrderAndSendsNothingUntilAllPass) {
  struct Case {
    RegisterInput in;
    std::string message;
    TEdit* TRegisterFrm::*focus;
  };
  std::string example = "http://" + IniFile->ReadString("Logininfo", "host", kServiceWebHost);
  const Case cases[] = {
      {{"", "", "", "", "", ""}, "单位名称不能为空", &TRegisterFrm::yAccount},
      {{"甲", "", "", "", "", ""}, "昵称不能为空", &TRegisterFrm::yNickName},
      {{"甲", "乙", "", "", "", ""}, "密码不能为空", &TRegisterFrm::yPass},
      {{"甲", "乙", "12345", "12345", "a@b.cn", ""}, "密码长度不能少于6位", &TRegisterFrm::yPass},
      {{"甲", "乙", "123456", "123457", "a@b.cn", ""}, "密码输入不一致，请重新输入", &TRegisterFrm::yOkPass},
      {{"甲", "乙", "123456", "123456", "", ""}, "邮箱不能为空", &TRegisterFrm::yEmail},
      {{"甲", "乙", "123456", "123456", "Sales@b.cn", ""}, "请输入正确的邮箱格式", &TRegisterFrm::yEmail},
      {{"甲", "乙", "123456", "123456", "a@b.cn", "www.b.cn"}, "请输入正确的网址格式，如:" + example, &TRegisterFrm::yurl},
  };
  TOwned<TRegisterFrm> f(CreateForm<TRegisterFrm>(nullptr));
  f->Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Fill(f.get(), c.in);
    dialogs_.calls.clear();
    f->btnRegister->Click();
    EXPECT_EQ(Boxes(), c.message + "|");
    EXPECT_EQ(GetFocus(), (f.get()->*c.focus)->Handle());
  }
  PumpFor(100);
  EXPECT_EQ(server_.CountOf(proto::Register), 0u);
}

TEST_F(WindowsTest, RegistrationPatternsAcceptWhatTheyShouldAndNoMore) {
  struct Case {
    const char* text;
    bool url, email;
  };
  for (const Case& c : {Case{"http://www.demo.cn", true, false}, Case{"http://demo-trade.com.cn/a-b/c.asp?id=1&x=%20", true, false},
                        Case{"https://demo.cn", false, false}, Case{"http://demo", false, false},
                        Case{"http://demo.cn/a b", false, false}, Case{"sales_1@demo-trade.com.cn", false, true},
                        Case{"Sales@demo.cn", false, false}, Case{"sales@", false, false}, Case{"a.b@c", false, true}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TRegisterFrm::CheckUrl(c.text), c.url);
    EXPECT_EQ(TRegisterFrm::CheckEmail(c.text), c.email);
  }
}

TEST_F(WindowsTest, ASuccessfulRegistrationShowsTheNumberStoresItAndCloses) {
  TOwned<TRegisterFrm> f(CreateForm<TRegisterFrm>(nullptr));
  TRegisterReply reply;
  reply.Account = reply.NewAccount = 12345;
  reply.Text = "<script src=\"http://kf.demo/12345.js\"></script>";
  server_.QueueReply(proto::Register, stub::Frame(proto::Register, stub::RegisterReplyBody(reply)));
  std::string number, script, status;
  bool sent = false;
  WhilePumping(Guarded([&] {
    if (!sent && f->Showing()) {
      Fill(f.get(), kGood);
      f->btnRegister->Click();
      status = f->StatusBar1->PanelText(0);
      sent = true;
    }
    if (auto* shown = OpenForm<TEnterpriseNubmerFrm>()) {
      number = shown->yNumber->Text();
      script = shown->yLinkScript->Text();
      Shot(shown, "enterprise-number");
      shown->Close();
      return true;
    }
    return false;
  }));
  f->ShowModal();
  EXPECT_EQ(status, "正在注册...");
  EXPECT_EQ(number, "12345");
  EXPECT_NE(script.find("12345.js"), std::string::npos);
  EXPECT_EQ(f->RegisteredNumber, "12345");
  TSelfInfo stored;
  data_->EditUserInfo(stored, true);
  EXPECT_EQ(stored.Username, "12345");
  EXPECT_EQ(stored.UserPass, "");
  // The request as the server read it: an empty web address goes out as "http://".
  ASSERT_EQ(server_.CountOf(proto::Register), 1u);
  std::string body = server_.RequestsOf(proto::Register)[0].Frame.Body;
  TBodyReader r(body);
  EXPECT_EQ(r.WireString(), kGood.account);
  EXPECT_EQ(r.WireString(), kGood.nick);
  EXPECT_EQ(r.WireString(), MD5Print(MD5String(kGood.pass)));
  EXPECT_EQ(r.WireString(), kGood.email);
  EXPECT_EQ(r.WireString(), "http://");
}

TEST_F(WindowsTest, RefusedRegistrationsSayWhyAndKeepTheInput) {
  struct Case {
    uint8_t code;
    std::string status, box;
  };
  TOwned<TRegisterFrm> f(CreateForm<TRegisterFrm>(nullptr));
  f->Show();
  for (const Case& c : {Case{3, "注册失败", "注册失败!\r\n请重新注册"}, Case{4, "10分钟内不能重复注册", "注册失败!\r\n10分钟内不能重复注册"},
                        Case{9, "正在注册...", ""}}) {
    SCOPED_TRACE(c.code);
    TRegisterReply reply;
    reply.Result = c.code;
    server_.QueueReply(proto::Register, stub::Frame(proto::Register, stub::RegisterReplyBody(reply)));
    Fill(f.get(), kGood);
    dialogs_.calls.clear();
    size_t before = server_.CountOf(proto::Register);
    f->btnRegister->Click();
    ASSERT_TRUE(ServerGot(proto::Register, before + 1));
    if (!c.box.empty()) {
      ASSERT_TRUE(PumpUntil([&] { return !dialogs_.calls.empty(); }));
      EXPECT_EQ(dialogs_.calls[0].text, c.box);
      EXPECT_EQ(dialogs_.calls[0].caption, "Tovrin客服");
      EXPECT_TRUE(dialogs_.calls[0].flags & MB_ICONERROR);
      EXPECT_EQ(GetFocus(), f->yAccount->Handle());
    } else {
      PumpFor(300);
      EXPECT_TRUE(dialogs_.calls.empty());
    }
    EXPECT_EQ(f->StatusBar1->PanelText(0), c.status);
    EXPECT_EQ(f->yAccount->Text(), kGood.account);
    EXPECT_TRUE(f->Showing());
  }
  Shot(f.get(), "registration");
}

TEST_F(WindowsTest, RegistrationWithoutAConnectionOrWithoutAnAnswerDoesNotHang) {
  TOwned<TRegisterFrm> f(CreateForm<TRegisterFrm>(nullptr));
  f->Show();
  Fill(f.get(), kGood);
  IsConnected = false;
  f->btnRegister->Click();
  EXPECT_EQ(Boxes(), "无法连接服务器，请稍后重新注册|");
  IsConnected = true;
  PumpFor(100);
  EXPECT_EQ(server_.CountOf(proto::Register), 0u);

  // The server keeps silent: the window says so when the wait is over and stays usable.
  server_.QueueReply(proto::Register, "");
  f->btnRegister->Click();
  ASSERT_TRUE(ServerGot(proto::Register, 1));
  EXPECT_EQ(f->StatusBar1->PanelText(0), "正在注册...");
  auto* timer = dynamic_cast<TTimer*>(f->FindComponent("ReplyTimer"));
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->Enabled());
  timer->Fire();
  EXPECT_EQ(f->StatusBar1->PanelText(0), "服务器没有应答，请重新注册");
  EXPECT_FALSE(timer->Enabled());
  f->btnCancel->Click();
  EXPECT_FALSE(f->Showing());
  // Once the window is gone its handler is too.
  EXPECT_TRUE(static_cast<bool>(ServiceClient->OnRegisterReply));
  f.reset();
  EXPECT_FALSE(static_cast<bool>(ServiceClient->OnRegisterReply));
}

// ---------------------------------------------------------------- settings

TEST_F(WindowsTest, SettingsShowTheStoredLineThePhrasesAndEachPageOfTheTree) {
  data_->SaveLineConfig1(TLineConfig{"Line", "本地线路"});
  ShortWords->Clear();
  ShortWords->Add("您好");
  ShortWords->Add("请稍等");
  TOwned<TfrmServerHost> f(CreateForm<TfrmServerHost>(nullptr));
  f->Show();
  EXPECT_EQ(f->yTrewView->Items(), (std::vector<std::string>{"常用选项", "网络设置", "域名提醒", "系统备份", "系统还原", "信息快捷键"}));
  EXPECT_EQ(f->yTrewView->SelectedText(), "常用选项");
  EXPECT_EQ(f->yLineChoice->Items().ToVector(), (std::vector<std::string>{"网通线路", "本地线路", "双线路"}));
  EXPECT_EQ(f->yLineChoice->Text(), "本地线路");
  EXPECT_EQ(f->ListBoxShortMessage->Items().ToVector(), (std::vector<std::string>{"您好", "请稍等"}));
  EXPECT_EQ(f->ListBoxShortMessage->ItemIndex(), 0);
  EXPECT_TRUE(f->PanelConfig->Visible());
  Shot(f.get(), "settings");

  struct Page {
    int entry;
    TGroupBox* TfrmServerHost::*page;
  };
  for (const Page& p : {Page{1, &TfrmServerHost::PanelNet}, Page{2, &TfrmServerHost::PanelDomain},
                        Page{5, &TfrmServerHost::GroupShortCut}, Page{0, &TfrmServerHost::PanelConfig}}) {
    SCOPED_TRACE(p.entry);
    ClickEntry(f->yTrewView, p.entry);
    TGroupBox* page = f.get()->*p.page;
    ASSERT_TRUE(PumpUntil([&] { return page->Visible(); }));
    EXPECT_EQ(f->yTrewView->SelectedIndex(), p.entry);
    EXPECT_EQ(page->Left(), 115);
    EXPECT_EQ(page->Top(), 8);
    for (TGroupBox* other : {f->PanelConfig, f->PanelNet, f->PanelDomain, f->GroupShortCut})
      if (other != page) {
        EXPECT_FALSE(other->Visible());
      }
    if (p.entry == 5) {
      EXPECT_EQ(f->yShortCut->Text(), "Ctrl+Alt+X");
      EXPECT_TRUE(f->yShortCut->ReadOnly());
      Shot(f.get(), "settings-hotkey");
    }
  }
  EXPECT_EQ(TfrmServerHost::StripWww("www.demo.cn"), "demo.cn");
  EXPECT_EQ(TfrmServerHost::StripWww("http://www.demo.cn/www.x"), "demo.cn/www.x");
  EXPECT_EQ(TfrmServerHost::StripWww("demo.cn"), "");
}

TEST_F(WindowsTest, QuickPhrasesAreAddedOnceAndReachTheChatWindow) {
  ShortWords->Clear();
  ShortWords->Add("您好");
  TOwned<TfrmServerHost> f(CreateForm<TfrmServerHost>(nullptr));
  f->Show();
  f->btnAdd->Click();
  EXPECT_EQ(LastBox(), "常用短语内容不能为空，请重新输入");
  f->yShortChar->SetText("您好");
  f->btnAdd->Click();
  EXPECT_EQ(LastBox(), "列表中存在此信息，无须添加");
  f->yShortChar->SetText("欢迎再来");
  f->btnAdd->Click();
  EXPECT_EQ(f->yShortChar->Text(), "");
  EXPECT_EQ(f->ListBoxShortMessage->Items().ToVector(), (std::vector<std::string>{"您好", "欢迎再来"}));
  TStringList stored;
  data_->ReadShortMessages(stored);
  EXPECT_GE(stored.IndexOf("欢迎再来"), 0);
  // A chat window opened now offers it.
  TOwned<TChatFrm> chat(CreateForm<TChatFrm>(nullptr));
  chat->Show();
  EXPECT_GE(chat->ycomUseChar->Items().IndexOf("欢迎再来"), 0);
}

TEST_F(WindowsTest, TheDomainReminderPageReadsAndStoresDaysAndDomain) {
  TOwned<TfrmServerHost> f(CreateForm<TfrmServerHost>(nullptr));
  f->Show();
  HintDateNumber = 0;
  DomainName.clear();
  ClickEntry(f->yTrewView, 2);
  ASSERT_TRUE(PumpUntil([&] { return f->PanelDomain->Visible(); }));
  // No reminder stored: 30 days and no domain.
  EXPECT_EQ(f->yCallDate->Text(), "30");
  EXPECT_EQ(f->yDomain->Text(), "");
  Shot(f.get(), "settings-domain");

  struct Case {
    const char *days, *domain, *box;
  };
  for (const Case& c : {Case{"", "demo.cn", "提醒天数不能为空"}, Case{"abc", "demo.cn", "域名提醒天数保存失败"},
                        Case{"15", "demo.cn", "域名提醒天数保存成功"}}) {
    SCOPED_TRACE(c.days);
    f->yCallDate->SetText(c.days);
    f->yDomain->SetText(c.domain);
    f->btnOK->Click();
    EXPECT_EQ(LastBox(), c.box);
  }
  HintDateNumber = 0;
  data_->ReadDomainHintDate();
  EXPECT_EQ(HintDateNumber, 15);
  EXPECT_EQ(DomainName, "demo.cn");
  // OK on the phrases page closes the window.
  ClickEntry(f->yTrewView, 0);
  ASSERT_TRUE(PumpUntil([&] { return f->PanelConfig->Visible(); }));
  f->btnOK->Click();
  EXPECT_FALSE(f->Showing());
}

TEST_F(WindowsTest, TheBackupEntryOpensTheBackupWindowModally) {
  TOwned<TfrmServerHost> f(CreateForm<TfrmServerHost>(nullptr));
  f->Show();
  std::string state;
  WhilePumping(Guarded([&] {
    auto* backup = OpenForm<TDataBackFrm>();
    if (!backup) return false;
    state = backup->lblPostion->Caption() + "|" + backup->lblWaitBackup->Caption();
    Shot(backup, "backup");
    backup->BitBtn3->Click();
    return true;
  }));
  ClickEntry(f->yTrewView, 3);
  ASSERT_TRUE(PumpUntil([&] { return !state.empty(); }, 10000));
  EXPECT_EQ(state, "备份进度|准备备份");
  PumpFor(100);
  EXPECT_EQ(OpenForm<TDataBackFrm>(), nullptr);
  EXPECT_EQ(LocalCopy, nullptr);  // closing the window took its copier along
}

// ---------------------------------------------------------------- trade

class TradeTest : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    // Two cities share the name "市辖区"; the codes tell them apart.
    RegionTable1 = {{1, 0, 11, "北京"}, {2, 0, 12, "天津"}, {3, 0, 13, "河北"}};
    RegionTable2 = {{1, 11, 1101, "市辖区"}, {2, 12, 1201, "市辖区"}};
    RegionTable3 = {{1, 1101, 110105, "朝阳区"}, {2, 1201, 120101, "和平区"}};
    IndustryTable = {{1, 1, -1, "机械"}, {2, 2, -1, "电子"}, {3, 101, 1, "机床"}, {4, 201, 2, "元器件"}};
    LoginReply = TLoginReply{};
    LoginReply.Company = "演示贸易公司";
    LoginReply.Phone = "020-12345678";
    LoginReply.Fax = "020-87654321";
    LoginReply.Email = "sales@demo.cn";
    SiteUrl = "http://www.demo.cn";
  }
  void TearDown() override {
    RegionTable1.clear();
    RegionTable2.clear();
    RegionTable3.clear();
    IndustryTable.clear();
    WindowsTest::TearDown();
  }
  // Chooses an item the way the user does, so the list's click handler runs.
  static void Choose(TComboBox* list, const std::string& text, int nth = 0) {
    int found = -1;
    for (int i = 0; i < list->Items().Count() && found < 0; ++i)
      if (list->Items()[i] == text && nth-- == 0) found = i;
    ASSERT_GE(found, 0) << text;
    list->SetItemIndex(found);
    SendMessageA(GetParent(list->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list->Handle()), CBN_SELCHANGE),
                 (LPARAM)list->Handle());
  }
  void FillGood(TTradeFrm* f) {
    f->yInfoCategory->SetItemIndex(1);
    f->yVaidateDate->SetItemIndex(3);
    f->yName->SetText("数控机床");
    f->yTitle->SetText("求购数控机床");
    Choose(f->yProvince, "天津");
    Choose(f->yCity, "市辖区");
    Choose(f->yState, "和平区");
    Choose(f->yBigList, "机械");
    Choose(f->ySmallList, "机床");
    f->yProduceNumber->SetText("");
    f->yWarpDescription->SetText("  木箱 ");
    f->yPriceDescription->SetText("面议");
    f->yProduceGuiGe->SetText("CK6140");
    f->yTotalDescription->SetText("  需要两台  ");
    f->yUserName->SetText(" 王先生 ");
  }
};

TEST_F(TradeTest, CodesFromTwoToThe31UpStillFindTheirChildren) {
  RegionTable1.push_back({4, 0, 0x80000001u, "海外"});
  RegionTable2.push_back({3, 0x80000001u, 0xFFFFFFF0u, "远洋"});
  RegionTable3.push_back({3, 0xFFFFFFF0u, 0xFFFFFFFEu, "外区"});
  IndustryTable.push_back({5, 0x90000000u, -1, "外贸"});
  IndustryTable.push_back({6, 7, int32_t(0x90000000u), "转口"});
  TOwned<TTradeFrm> f(CreateForm<TTradeFrm>(nullptr));
  f->Show();
  Choose(f->yProvince, "海外");
  EXPECT_EQ(f->yCity->Items().ToVector(), (std::vector<std::string>{"远洋"}));
  Choose(f->yCity, "远洋");
  EXPECT_EQ(f->yState->Items().ToVector(), (std::vector<std::string>{"外区"}));
  Choose(f->yBigList, "外贸");
  EXPECT_EQ(f->ySmallList->Items().ToVector(), (std::vector<std::string>{"转口"}));
}

TEST_F(TradeTest, TheListsCascadeByCodeSoEqualNamesPickTheirOwnChildren) {
  TOwned<TTradeFrm> f(CreateForm<TTradeFrm>(nullptr));
  f->Show();
  EXPECT_EQ(f->yProvince->Items().ToVector(), (std::vector<std::string>{"北京", "天津", "河北"}));
  EXPECT_EQ(f->yBigList->Items().ToVector(), (std::vector<std::string>{"机械", "电子"}));
  EXPECT_EQ(f->yCompanyName->Text(), "演示贸易公司");
  EXPECT_EQ(f->yPhone->Text(), "020-12345678");
  EXPECT_EQ(f->yFx->Text(), "020-87654321");
  EXPECT_EQ(f->yEmail->Text(), "sales@demo.cn");
  EXPECT_EQ(f->yUrl->Text(), "http://www.demo.cn");
  Choose(f->yProvince, "天津");
  EXPECT_EQ(f->yCity->Items().ToVector(), (std::vector<std::string>{"市辖区"}));
  Choose(f->yCity, "市辖区");
  EXPECT_EQ(f->yState->Items().ToVector(), (std::vector<std::string>{"和平区"}));
  Choose(f->yProvince, "北京");
  EXPECT_EQ(f->yState->Items().Count(), 0);
  Choose(f->yCity, "市辖区");
  EXPECT_EQ(f->yState->Items().ToVector(), (std::vector<std::string>{"朝阳区"}));
  // A province without cities leaves both lower lists empty, also after clearing.
  Choose(f->yProvince, "河北");
  EXPECT_EQ(f->yCity->Items().Count(), 0);
  EXPECT_EQ(f->yState->Items().Count(), 0);
  Choose(f->yBigList, "电子");
  Choose(f->yBigList, "机械");
  EXPECT_EQ(f->ySmallList->Items().ToVector(), (std::vector<std::string>{"机床"}));
  f->yClearClick(nullptr);
  EXPECT_EQ(f->yCity->Items().Count(), 0);
  EXPECT_EQ(f->yProvince->ItemIndex(), 0);
  // Only digits, backspace, Enter and Esc reach the quantity.
  for (char k : {'7', '\b', '\r', '\x1b', 'a', '-', ' '}) {
    char key = k;
    f->yProduceNumberKeyPress(nullptr, key);
    EXPECT_EQ(key, (k >= '0' && k <= '9') || k == '\b' || k == '\r' || k == '\x1b' ? k : 0) << int(k);
  }
}

TEST_F(TradeTest, EachMissingChoiceIsNamedAndNothingIsSent) {
  TOwned<TTradeFrm> f(CreateForm<TTradeFrm>(nullptr));
  f->Show();
  struct Case {
    void (*spoil)(TTradeFrm*);
    const char* box;
  };
  const Case cases[] = {
      {[](TTradeFrm* t) { t->yInfoCategory->SetItemIndex(-1); }, "请选择发布信息种类"},
      {[](TTradeFrm* t) { t->yProvince->SetItemIndex(-1); }, "请选择产品所在地区"},
      {[](TTradeFrm* t) { t->yBigList->SetItemIndex(-1); }, "请选择产品大类"},
      {[](TTradeFrm* t) { t->yVaidateDate->SetItemIndex(-1); }, "请选择信息有效期"},
      {[](TTradeFrm* t) { t->yUserName->SetText(""); }, "姓名不能为空"},
      {[](TTradeFrm* t) { t->yCompanyName->SetText(""); }, "公司名称不能为空"},
      {[](TTradeFrm* t) { t->yPhone->SetText(""); }, "电话不能为空"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    FillGood(f.get());
    f->yCompanyName->SetText("演示贸易公司");
    f->yPhone->SetText("020-12345678");
    c.spoil(f.get());
    f->ySave->Click();
    EXPECT_EQ(LastBox(), c.box);
  }
  PumpFor(100);
  EXPECT_EQ(server_.CountOf(proto::TradeSave), 0u);
}

TEST_F(TradeTest, APostingReachesTheServerByteForByteAndEachAnswerIsReported) {
  TOwned<TTradeFrm> f(CreateForm<TTradeFrm>(nullptr));
  f->Show();
  FillGood(f.get());
  Shot(f.get(), "trade");
  f->ySave->Click();
  ASSERT_TRUE(ServerGot(proto::TradeSave));
  ASSERT_TRUE(PumpUntil([&] { return !dialogs_.calls.empty(); }));
  EXPECT_EQ(LastBox(), "贸易信息上传成功");
  // The record the server read is the one the window built, whole.
  TTradeInfo expected;
  expected.Category = "1";
  expected.Title = "求购数控机床";
  expected.Name = "数控机床";
  expected.Province = "天津";
  expected.City = "市辖区";
  expected.District = "和平区";
  expected.MainCategory = "机械";
  expected.SubCategory = "机床";
  expected.Validity = "90";
  expected.Price = "面议";
  expected.Packing = "木箱";
  expected.Quantity = "0";
  expected.ProductSpecs = "CK6140";
  expected.Description = "需要两台";
  expected.ContactName = "王先生";
  expected.Company = "演示贸易公司";
  expected.Phone = "020-12345678";
  expected.Fax = "020-87654321";
  expected.Email = "sales@demo.cn";
  expected.WebAddress = "http://www.demo.cn";
  expected.OwnAccount = "10001";
  const std::string body = server_.RequestsOf(proto::TradeSave)[0].Frame.Body;
  EXPECT_EQ(server_.RequestsOf(proto::TradeSave)[0].Frame.LengthField, 1401u);
  EXPECT_EQ(body, expected.Pack());
  // Success clears the form but keeps the two choices.
  EXPECT_EQ(f->yName->Text(), "");
  EXPECT_EQ(f->yUserName->Text(), "");
  EXPECT_EQ(f->yInfoCategory->ItemIndex(), 1);
  EXPECT_EQ(f->yVaidateDate->ItemIndex(), 3);

  // Any other answer reports failure and keeps what was typed.
  for (uint8_t answer : {0, 2}) {
    SCOPED_TRACE(int(answer));
    FillGood(f.get());
    f->yCompanyName->SetText("演示贸易公司");
    f->yPhone->SetText("020-12345678");
    size_t before = server_.CountOf(proto::TradeSave);
    dialogs_.calls.clear();
    server_.QueueReply(proto::TradeSave, stub::Frame(proto::TradeSave, stub::TradeResultBody(answer)));
    f->ySave->Click();
    ASSERT_TRUE(ServerGot(proto::TradeSave, before + 1));
    ASSERT_TRUE(PumpUntil([&] { return !dialogs_.calls.empty(); }));
    EXPECT_EQ(LastBox(), "贸易信息上传失败");
    EXPECT_EQ(f->yName->Text(), "数控机床");
  }
  // The answer's handler goes with the window.
  f.reset();
  EXPECT_FALSE(static_cast<bool>(ServiceClient->OnTradeSaveResult));
}

TEST_F(TradeTest, LongTextsAreCutOnCharacterBoundariesToTheirFields) {
  TOwned<TTradeFrm> f(CreateForm<TTradeFrm>(nullptr));
  f->Show();
  FillGood(f.get());
  // 150 characters of title go into a 100-byte field; a Chinese text cut at an odd byte
  // count keeps whole characters only.
  f->yTitle->SetText(std::string(150, 't'));
  std::string chinese;
  for (int i = 0; i < 30; ++i) chinese += "价";
  f->yPriceDescription->SetText("a" + chinese);  // 61 bytes into 50
  TTradeInfo t = TTradeInfo::Unpack(reinterpret_cast<const uint8_t*>(f->BuildTradeInfo().Pack().data()));
  EXPECT_EQ(t.Title, std::string(100, 't'));
  EXPECT_EQ(t.Price, "a" + chinese.substr(0, 48));
}

// The whole trade body is converted to UTF-8 as text on the wire, which the server undoes.
// A field's length byte above 128 is then read as the first byte of a two-byte character
// together with the field's first text byte. This records what the stand-in server receives
// for product names of 129 to 200 bytes: Latin text survives (each pair is a valid character
// and comes back as it was); Chinese text shifts the pairs by one, so its last byte meets the
// zero padding, which is no character, and arrives as "?".
TEST_F(TradeTest, NamesOfMoreThan128BytesAsTheServerReceivesThem) {
  TOwned<TTradeFrm> f(CreateForm<TTradeFrm>(nullptr));
  f->Show();
  std::string chinese;
  for (int i = 0; i < 65; ++i) chinese += "价";  // 130 bytes
  struct Case {
    std::string name;
    bool whole;
  };
  // The Chinese case is last: the connection's stream is out of step after it.
  for (const Case& c : {Case{std::string(129, 'n'), true}, Case{std::string(200, 'n'), true}, Case{chinese, false}}) {
    SCOPED_TRACE(c.name.size());
    FillGood(f.get());
    f->yCompanyName->SetText("演示贸易公司");
    f->yPhone->SetText("020-12345678");
    f->yName->SetText(c.name);
    std::string sent = f->BuildTradeInfo().Pack();
    size_t before = server_.CountOf(proto::TradeSave);
    f->ySave->Click();
    ASSERT_TRUE(ServerGot(proto::TradeSave, before + 1));
    const std::string got = server_.RequestsOf(proto::TradeSave)[before].Frame.Body;
    ASSERT_EQ(got.size(), sent.size());
    if (c.whole) {
      EXPECT_EQ(got, sent);
    } else {
      size_t last = 112 + c.name.size();  // the name's last byte
      EXPECT_EQ(got.substr(0, last), sent.substr(0, last));
      EXPECT_EQ(got[last], '?');
      EXPECT_EQ(got.substr(last + 1), sent.substr(last + 1));
    }
    PumpFor(100);
  }
}

// ---------------------------------------------------------------- services and news

TEST_F(WindowsTest, TheServicesPaneLoadsItsPageAndTheNewsPaneItsOwnOnceAfterFiveSeconds) {
  TWebStub web;
  web.Start();
  int webPort = web.Port();
  IniFile->WriteString("Logininfo", "host", "127.0.0.1:" + sys::IntToStr(webPort));
  PublishUrl = TMainFrm::ServiceUrl("/fabu.asp?action=add");
  TOwned<TSoftWareFrm> services(CreateForm<TSoftWareFrm>(nullptr));
  ASSERT_TRUE(PumpUntil([&] { return web.RequestCount("/UserService.html") == 1; }));
  services->Show();
  ASSERT_TRUE(PumpUntil([&] { return services->WebBrowserTool->ReadyState() == TReadyState::Complete; }));
  EXPECT_FALSE(services->WebBrowserTool->LoadFailed());
  Shot(services.get(), "services");

  DWORD made = GetTickCount();
  TOwned<TZiXunFrm> news(CreateForm<TZiXunFrm>(nullptr));  // never shown
  EXPECT_EQ(news->Timer1->Interval(), 5000);
  ASSERT_TRUE(PumpUntil([&] { return web.RequestCount("/fabu.asp") == 1; }, 8000));
  EXPECT_GE(GetTickCount() - made, 4900u);
  PumpFor(5500);
  EXPECT_EQ(web.RequestCount("/fabu.asp"), 1);
  EXPECT_EQ(news->WebZiXun->LocationURL(), PublishUrl);
}

}  // namespace

// ---------------------------------------------------------------- in a program folder of their own
//
// The backup window copies beside the running program, and the restore entry and a new
// server line end it. These tests run in a copy of this program in a temporary folder: the
// parent prepares the folder, starts the copy with one child test, and checks what is left.

namespace {

constexpr char kChildVariable[] = "KARV_WINDOWS_CHILD";

std::string ProgramFolder() { return sys::ExtractFilePath(sys::ParamStr(0)); }

// Runs the child test `name` in a copy of this program in `folder`; its exit code.
DWORD RunChild(const std::string& name, const testing_support::TempDir& folder) {
  std::string exe = folder.File("windows_tests.exe");
  EXPECT_TRUE(CopyFileA(sys::ParamStr(0).c_str(), exe.c_str(), FALSE));
  EXPECT_TRUE(CopyFileA((ProgramFolder() + "Vandrel.dll").c_str(), folder.File("Vandrel.dll").c_str(), FALSE));
  SetEnvironmentVariableA(kChildVariable, name.c_str());
  SetEnvironmentVariableA(kScreenshotVariable, Screenshots().c_str());
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  std::string cmd = "\"" + exe + "\" --gtest_filter=ChildWorld." + name;
  BOOL started = CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(), &si, &pi);
  SetEnvironmentVariableA(kChildVariable, nullptr);
  SetEnvironmentVariableA(kScreenshotVariable, nullptr);
  if (!started) return 0xFFFFFFFF;
  DWORD code = 0xFFFFFFFE;
  if (WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  else TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return code;
}

// The files of a folder, by name.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(sys::LowerCase(fd.cFileName));
  while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

// A personal database of `bytes` or more: the program's tables and a filler table.
void MakeBigPersonalDatabase(const std::string& path, size_t bytes) {
  sys::ForceDirectories(sys::ExtractFilePath(path));
  CreateLocalDatabase(false, path, kDatabasePassword);
  client_test::LocalDbQuery db(path, "create table Filler (Bytes text)");
  TDbQuery& q = db.query;
  q.ExecSQL();
  q.SQL().SetText("insert into Filler (Bytes) values (:Bytes)");
  std::string row(60000, 'x');
  for (size_t done = 0; done < bytes; done += row.size()) {
    q.SetParam("Bytes", row);
    q.ExecSQL();
  }
}

// The program's world in its own folder: the settings unit, both local databases and the
// data module, with scripted message boxes. Only the test the parent names runs.
class ChildWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* wanted = getenv(kChildVariable);
    if (!wanted || ::testing::UnitTest::GetInstance()->current_test_info()->name() != std::string(wanted))
      GTEST_SKIP() << "runs inside a program folder of its own";
    if (!Application) {
      static TApplication app;
      Application = &app;
      app.Initialize();
      RegisterFormsClasses();
      RegisterWebBrowser();
    }
    dialogSeam_ = std::make_unique<seams::ScopedSeam<seams::IDialogs>>(&dialogs_);
    SetErrorLogPath(ProgramFolder() + "Client.log");
    InitializeSettingsUnit(ProgramFolder() + "Client.ini");
    StartLocalDatabases(ProgramFolder());
    data_ = CreateForm<TData>(nullptr);
    Data = data_;
  }
  void TearDown() override {
    if (!data_) return;
    Data = nullptr;
    delete data_;
    FinalizeSettingsUnit();
  }
  // Shows the backup window modally; `step` runs while it is up, until it returns true.
  void WithBackupWindow(std::function<bool(TDataBackFrm*)> step) {
    TOwned<TDataBackFrm> f(CreateForm<TDataBackFrm>(nullptr));
    DataBackMode = 0;
    testing_support::WhilePumping(Guarded([&] { return f->Showing() && step(f.get()); }), 20);
    f->ShowModal();
  }
  testing_support::ScriptedDialogs dialogs_;
  std::unique_ptr<seams::ScopedSeam<seams::IDialogs>> dialogSeam_;
  TData* data_ = nullptr;
};

constexpr size_t kBigDatabase = 24 * 1024 * 1024;

TEST_F(ChildWorld, BackupCopiesWithTheBarMoving) {
  std::vector<int> positions;
  int max = 0;
  std::string states;
  bool clicked = false;
  WithBackupWindow([&](TDataBackFrm* f) {
    if (!clicked) {
      states += f->lblWaitBackup->Caption() + "|";
      f->btnBackUp->Click();
      states += f->lblWaitBackup->Caption() + "|";
      clicked = true;
      return false;
    }
    int p = f->ProgressFile->Position();
    if (positions.empty() || positions.back() != p) positions.push_back(p);
    if (positions.size() == 3) Shot(f, "backup-copying");
    if (f->lblWaitBackup->Caption() != "备份完成") return false;
    max = f->ProgressFile->Max();
    states += f->lblWaitBackup->Caption();
    f->BitBtn3->Click();
    return true;
  });
  EXPECT_EQ(states, "准备备份|开始备份|备份完成");
  EXPECT_EQ((size_t)max, sys::ReadFileBytes(ProgramFolder() + "DataConfig\\LocalConfig.mdb").size());
  EXPECT_GE(positions.size(), 3u);  // it moved while we watched
  EXPECT_EQ(positions.back(), 0);   // and went back to 0 at the end
}

TEST_F(ChildWorld, ClosingTheBackupWindowMidCopyStopsAndWaitsForTheCopy) {
  bool clicked = false, closed = false;
  WithBackupWindow([&](TDataBackFrm* f) {
    if (!clicked) {
      f->btnBackUp->Click();
      clicked = true;
      return false;
    }
    if (f->ProgressFile->Position() < 2 * 2048) return false;
    f->BitBtn3->Click();
    closed = true;
    return true;
  });
  EXPECT_TRUE(closed);
  // The copier went with the window, its worker had ended, and it cleaned up behind itself.
  EXPECT_EQ(LocalCopy, nullptr);
  EXPECT_EQ(FilesIn(ProgramFolder() + "Bak\\"), std::vector<std::string>{});
}

TEST_F(ChildWorld, TheRestoreEntryClosesTheDatabasesStartsTheRestoreToolAndEnds) {
  TOwned<TfrmServerHost> f(CreateForm<TfrmServerHost>(nullptr));
  f->Show();
  ASSERT_TRUE(data_->AdoConnSecond->Connected());
  ClickEntry(f->yTrewView, 4);
  ASSERT_TRUE(PumpUntil([&] { return Application->Terminated(); }));
  EXPECT_FALSE(data_->AdoConnSecond->Connected());
  EXPECT_FALSE(data_->ADOConnection->Connected());
}

TEST_F(ChildWorld, ANewServerLineIsStoredAndEndsTheProgram) {
  ServiceClient = std::make_unique<TServiceClient>("127.0.0.1", "8014", data_);
  TOwned<TfrmServerHost> f(CreateForm<TfrmServerHost>(nullptr));
  f->Show();
  EXPECT_EQ(f->yLineChoice->Text(), "网通线路");
  ClickEntry(f->yTrewView, 1);
  ASSERT_TRUE(PumpUntil([&] { return f->PanelNet->Visible(); }));
  f->yLineChoice->SetItemIndex(f->yLineChoice->Items().IndexOf("本地线路"));
  f->btnOK->Click();
  ASSERT_EQ(dialogs_.calls.size(), 1u);
  EXPECT_EQ(dialogs_.calls[0].text, "系统配置保存完毕，请重新启动软件");
  EXPECT_TRUE(Application->Terminated());
  // The next login resolves the stored line.
  EXPECT_EQ(data_->GetAddress(), kLocalLineAddress);
  f.reset();
  ServiceClient.reset();
}

TEST(WindowsInTheirFolder, BackupCopiesThePersonalDatabaseIntoBak) {
  testing_support::TempDir folder;
  MakeBigPersonalDatabase(folder.File("DataConfig\\LocalConfig.mdb"), 2 * 1024 * 1024);
  ASSERT_EQ(RunChild("BackupCopiesWithTheBarMoving", folder), 0u);
  EXPECT_EQ(sys::ReadFileBytes(folder.File("Bak\\LocalConfig.mdb")), sys::ReadFileBytes(folder.File("DataConfig\\LocalConfig.mdb")));
  EXPECT_EQ(FilesIn(folder.File("Bak\\")), std::vector<std::string>{"localconfig.mdb"});
}

TEST(WindowsInTheirFolder, ClosingMidCopyLeavesNoPartialBackup) {
  testing_support::TempDir folder;
  MakeBigPersonalDatabase(folder.File("DataConfig\\LocalConfig.mdb"), kBigDatabase);
  ASSERT_EQ(RunChild("ClosingTheBackupWindowMidCopyStopsAndWaitsForTheCopy", folder), 0u);
  // Only the child's copier makes Bak: a skipped child or a filter matching nothing leaves
  // no folder at all.
  EXPECT_TRUE(sys::DirectoryExists(folder.File("Bak")));
  EXPECT_EQ(FilesIn(folder.File("Bak\\")), std::vector<std::string>{});
}

TEST(WindowsInTheirFolder, RestoreStartsDunmereAndEndsTheProgram) {
  testing_support::TempDir folder;
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "Ostrel.exe").c_str(), folder.File("Dunmere.exe").c_str(), FALSE));
  ASSERT_EQ(RunChild("TheRestoreEntryClosesTheDatabasesStartsTheRestoreToolAndEnds", folder), 0u);
  // The stand-in writes its (empty) command line beside itself.
  EXPECT_TRUE(PumpUntil([&] { return sys::FileExists(folder.File("Ostrel.log")); }, 10000));
}

TEST(WindowsInTheirFolder, ANewServerLineEndsTheProgram) {
  testing_support::TempDir folder;
  ASSERT_EQ(RunChild("ANewServerLineIsStoredAndEndsTheProgram", folder), 0u);
  // The child ran: the line it chose is stored in the personal database of its folder.
  client_test::LocalDbQuery db(folder.File("DataConfig\\LocalConfig.mdb"),
                               "select KeyValue from SelfConfig where KeyName='Line'");
  db.query.Open();
  ASSERT_FALSE(db.query.Eof());
  EXPECT_EQ(db.query.FieldByName("KeyValue").AsString(), "本地线路");
}

}  // namespace
