#include "client/uMain.h"

#include <algorithm>

#include "client/uFindFriend.h"
#include "client/uLogin.h"
#include "client/uSoftWare.h"
#include "client/uTrade.h"
#include "core/LogManager.h"
#include "core/MD5.h"
#include "core/ReceiveMessage.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/SysUtils.h"

TMainFrm* MainFrm = nullptr;
std::unique_ptr<TReceiveBuffer> OfflineMsgQueue;
std::string PublishUrl;
std::string LoginCheckFormat;

namespace {

// The left-hand buttons: glyph at creation, on mouse enter, on mouse leave.
struct LeftButton {
  TBitBtnExtend* TMainFrm::*field;
  const char* created;
  const char* enter;
  const char* leave;
};
const LeftButton kLeftButtons[] = {
    {&TMainFrm::btnFindFriend, "Left11", "Left12", "Left11"},
    {&TMainFrm::btnTuiGuang, "left41", "Left42", "Left41"},
    {&TMainFrm::btneditinfo, "Left61", "Left62", "Left61"},
    {&TMainFrm::yTrade, "Left71", "Left72", "Left71"},
    {&TMainFrm::btnMark, "Left81", "Left82", "Left81"},
    {&TMainFrm::yService, "Left92", "Left92", "Left91"},
    {&TMainFrm::yZiXun, "Left101", "Left102", "Left101"},
    {&TMainFrm::btnCheck, "Left21", "left22", "left21"},
    {&TMainFrm::btnLinkTest, "Left31", "Left32", "Left31"},
    {&TMainFrm::ybtnDomain, "Left51", "Left52", "Left51"},
};

// How long a browser pane may take before the program stops waiting for it.
constexpr int kPaneWaitMs = 15000;
// The log-out page at exit: waited for, but the program does end.
constexpr int kExitWaitMs = 5000;

}  // namespace

TMainFrm::TMainFrm(TComponent* owner) : TForm(owner) { MainFrm = this; }

TMainFrm::~TMainFrm() {
  FreeWhoisParser();
  if (headBitmap_) DeleteObject(headBitmap_);
  if (headCopy_) DeleteObject(headCopy_);
  if (MainFrm == this) MainFrm = nullptr;
}

TPublishedTable TMainFrm::Published() {
  using F = TMainFrm;
  return {KARV_FIELDS(F, Panel1, Image1, Label3, lblNumber, Label1, lblMsgCount),
          KARV_FIELDS(F, yDomainParent, PanleLeft, Imageleft, btnFindFriend, btnTuiGuang, btneditinfo, yTrade),
          KARV_FIELDS(F, btnMark, yService, yZiXun, btnCheck, btnLinkTest, ybtnDomain),
          KARV_FIELDS(F, PageControl1, TabSheet1, TabSheet2, yListEnterprise, Panel2, Panel4, Image3),
          KARV_FIELDS(F, Label2, yListUser, Panel7, WebBrowser1, PanelLogin, WebLogin),
          KARV_FIELDS(F, Panel3, yMemoReceive, StatusBar, TrayNotifyIcon, ImageList, Timer, TimerDomain),
          KARV_FIELDS(F, PopupMenu, N5, N3, N2, PopupMenuTrayicon, N4, N1),
          KARV_HANDLERS(F, FormCreate, FormShow, FormClose),
          KARV_HANDLERS(F, FormDestroy, TimerTimer, TimerDomainTimer, N1Click),
          KARV_HANDLERS(F, N2Click, N3Click, N4Click),
          KARV_HANDLERS(F, N5Click, TrayNotifyIconClick, TrayNotifyIconDblClick, BitBtnExtend1Click),
          KARV_HANDLERS(F, btnTuiGuangClick, btneditinfoClick, yTradeClick, btnmarkClick),
          KARV_HANDLERS(F, yServiceClick, yZiXunClick, btnCheckClick),
          KARV_HANDLERS(F, btnLinkTestClick, ybtnDomainClick, LeftButtonMouseEnter, LeftButtonMouseLeave),
          KARV_HANDLERS(F, yListEnterpriseDrawItem, yListUserDrawItem, yListEnterpriseDblClick, yListUserDblClick)};
}

std::string TMainFrm::ServiceUrl(const std::string& path) {
  // The service's web server is the ini file's host.
  std::string host = IniFile ? IniFile->ReadString("Logininfo", "host", kServiceWebHost) : kServiceWebHost;
  return "http://" + host + path;
}

std::string TMainFrm::TodaysHistoryFile() {
  return sys::ExtractFilePath(sys::ParamStr(0)) + "HistoryLog\\" + TLog::DayFileName(dt::Now());
}

// ---------------------------------------------------------------- creation

void TMainFrm::FormCreate(TObject*) {
  try {
    // The queue and the packet events are ready before the login, so what the server sends
    // right after its reply is neither lost nor handled by a half-made window.
    OfflineMsgQueue = std::make_unique<TReceiveBuffer>();
    AssignServerEvents();
    // The user logs in while this window is being made.
    {
      TOwned<TLoginFrm> login(CreateForm<TLoginFrm>(nullptr));
      login->ShowModal();
    }
    // Told to end from the login window: start-up stops here.
    if (!Application || Application->Terminated()) return;
    if (Application) SetWindowLongPtrA(Application->Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    // The connection's events for this window: the close event was the dialog's.
    AssignCloseEvent();
    yListUser->SetCtl3D(false);
    for (auto& l : lists_) l = std::make_unique<TStringList>();
    // Pictures.
    std::string folder = sys::ExtractFilePath(sys::ParamStr(0));
    headBitmap_ = (HBITMAP)LoadImageA(nullptr, (folder + "icon\\head.bmp").c_str(), IMAGE_BITMAP, 30, 30,
                                      LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!headBitmap_) WriteErrorLog("Cannot load icon\\head.bmp" + std::string("formcreate"));
    else {
      headCopy_ = (HBITMAP)CopyImage(headBitmap_, IMAGE_BITMAP, 30, 30, LR_CREATEDIBSECTION);
      Image1->SetBitmap((HBITMAP)CopyImage(headBitmap_, IMAGE_BITMAP, 30, 30, LR_CREATEDIBSECTION));
    }
    iconFolder_ = folder + "icon\\";
    for (const auto& b : kLeftButtons) LoadGlyphResource(this->*b.field, PictureLib, b.created);
    if (PictureLib) Imageleft->LoadFromResource(PictureLib, "LEFTBACK");
    // The tray frames: 0 connected, 1 disconnected, 2 blank (blinking).
    for (const char* frame : {"TRAY0", "TRAY1", "TRAY2"})
      if (auto strip = (HBITMAP)LoadImageA(GetModuleHandleA(nullptr), frame, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) {
        ImageList->AddMasked(strip, RGB(255, 0, 255));
        DeleteObject(strip);
      }
    TrayNotifyIcon->SetIconIndex(0);
    PublishUrl = ServiceUrl("/fabu.asp?action=add");
    LoginCheckFormat = "/checkloginexe.asp?name=%s&password=%s";
    // The advertising page, unless a customer list that came with the login reply already
    // fills its place.
    if (yListUser->Items().Count() == 0) Panel7->SetVisible(true);
    WebBrowser1->Navigate(ServiceUrl("/pc_ad.asp"));
    CreateWhoisParser();
    StartDomainCheck();
    // The global hot key Ctrl+Alt+X.
    hotKeyAtom_ = GlobalAddAtomA("HotKey");
    RegisterHotKey(Handle(), hotKeyAtom_, MOD_CONTROL | MOD_ALT, 0x58);
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TMainFrm.FormCreate出错");
  }
}

void TMainFrm::FormShow(TObject*) {
  try {
    // Restoring from the tray shows the window again: what is made once is made once.
    if (!shownOnce_) {
      shownOnce_ = true;
      messageBlock_.assign(10000, 0);
    }
    PageControl1->SetActivePageIndex(0);
    Timer->SetEnabled(true);
    SetConnectedStatus();
    if (loadedHistory_.empty() && yMemoReceive->Text().empty()) {
      std::string file = TodaysHistoryFile();
      if (sys::FileExists(file)) {
        // The text as the pane gives it back, which the exit compares: no zero bytes (a crash
        // leaves them, and the pane's text would end at the first) and every line break a
        // CR LF (the pane makes a lone CR or LF one). The pane's window waits until the record
        // page is shown or something is added.
        std::string raw = sys::ReadFileBytes(file);
        raw.erase(std::remove(raw.begin(), raw.end(), '\0'), raw.end());
        std::string text = sys::UnifyLineBreaks(raw, "\r\n");
        yMemoReceive->SetText(text);
        loadedHistory_ = text;
        loadedHistoryName_ = sys::ExtractFileName(file);
      }
    }
    AddServiceContact();
    RefreshFriendList();
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TMainFrm.FormShow");
  }
}

void TMainFrm::FormClose(TObject*, TCloseAction&) {}

// ---------------------------------------------------------------- for the login window

void TMainFrm::SetConnectedStatus() { StatusBar->SetPanelText(0, "当前状态:与服务器连接成功"); }

void TMainFrm::ShowTrayFrameZero() {
  if (TrayNotifyIcon->IconIndex() != 0) TrayNotifyIcon->SetIconIndex(0);
}

void TMainFrm::LoginSucceeded(bool relogin, const std::string& username) {
  loggedIn_ = true;
  if (relogin) SetConnectedStatus();
  // The login emptied the friend list: the built-in contact comes back.
  AddServiceContact();
  RefreshFriendList();
  ShowTrayFrameZero();
  EnableDomainTimer();
  TrayNotifyIcon->SetHint("Karvell[" + username + "]");
  lblNumber->SetCaption(username);
}

void TMainFrm::StartNetworkTimer() { Timer->SetEnabled(true); }

// ---------------------------------------------------------------- timers

void TMainFrm::TimerTimer(TObject*) {
  try {
    if (IsConnected) ServiceClient->SendProtocol34();
    if (!seams::NetState().IsConnected()) {
      IsConnected = false;
      TrayNotifyIcon->SetIconIndex(1);
      Timer->SetEnabled(false);
      TimerDomain->SetEnabled(false);
      WriteErrorLog("网络连接断开，请重新连接网络");
      ShowMsg("", "网络连接断开,请重新登陆");
      StatusBar->SetPanelText(0, "当前状态:本地网络问题断开连接");
      TOwned<TLoginFrm> login(CreateForm<TLoginFrm>(nullptr));
      login->yUserid->SetText(LoginData.Username);
      login->ShowNetBroken();
      login->Relogin = true;
      login->ShowModal();
    }
    AssignCloseEvent();
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TMainFrm.TimerTimer出错");
  }
}

// ---------------------------------------------------------------- pages

bool TMainFrm::WaitForPane(TWebBrowser* pane, int timeoutMs, bool whileEnding) {
  DWORD start = GetTickCount();
  while (pane->ReadyState() != TReadyState::Complete && !pane->LoadFailed()) {
    // The wait at exit runs while the program ends: only its time bounds it.
    if (!whileEnding && (!Application || Application->Terminated())) return false;
    if ((int)(GetTickCount() - start) > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    if (Application) {
      Application->ProcessMessages();
    } else {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  return pane->ReadyState() == TReadyState::Complete;
}

void TMainFrm::OpenServiceUrl() {
  std::string hash = MD5Print(MD5String(LoginData.Password));
  // The host is data, never part of the format.
  WebLogin->Navigate(ServiceUrl(sys::Format(LoginCheckFormat.c_str(), LoginData.Username.c_str(), hash.c_str())));
  WaitForPane(WebLogin, kPaneWaitMs);
}

void TMainFrm::btneditinfoClick(TObject*) {
  OpenServiceUrl();
  // The system's browser opens the address.
  seams::Shell().Open(ServiceUrl("/user_admin.asp"), "");
}

void TMainFrm::yZiXunClick(TObject*) {
  OpenServiceUrl();
  seams::Shell().Open(PublishUrl, "");
}

void TMainFrm::BitBtnExtend1Click(TObject*) {
  TOwned<TFindFriendFrm> find(CreateForm<TFindFriendFrm>(nullptr));
  find->ShowModal();
}
void TMainFrm::yTradeClick(TObject*) {
  TOwned<TTradeFrm> trade(CreateForm<TTradeFrm>(nullptr));
  trade->ShowModal();
}
void TMainFrm::yServiceClick(TObject*) {
  if (!SoftWareFrm) SoftWareFrm = CreateForm<TSoftWareFrm>(Application);
  SoftWareFrm->Show();
}

void TMainFrm::LeftButtonMouseEnter(TObject* Sender) {
  for (const auto& b : kLeftButtons)
    if (this->*b.field == Sender) LoadGlyphResource(this->*b.field, PictureLib, b.enter);
}

void TMainFrm::LeftButtonMouseLeave(TObject* Sender) {
  for (const auto& b : kLeftButtons)
    if (this->*b.field == Sender) LoadGlyphResource(this->*b.field, PictureLib, b.leave);
}

// ---------------------------------------------------------------- tray and menus

void TMainFrm::TrayNotifyIconClick(TObject*) {
  try {
    Application->Restore();
    SetForegroundWindow(Application->Handle());
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "单击出错");
  }
}

void TMainFrm::TrayNotifyIconDblClick(TObject*) { FlashTrayHasMsg(); }


void TMainFrm::N1Click(TObject*) { Close(); }
void TMainFrm::N4Click(TObject*) { TrayNotifyIcon->ShowMainForm(); }
void TMainFrm::N5Click(TObject* Sender) { BitBtnExtend1Click(Sender); }

// ---------------------------------------------------------------- messages

void TMainFrm::WndProc(TMessage& m) {
  if (m.Msg == WM_HOTKEY) {
    FlashTrayHasMsg();
    return;
  }
  // The window can never be maximised.
  if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_MAXIMIZE) m.WParam = 0;
  TForm::WndProc(m);
}

// ---------------------------------------------------------------- destruction

void TMainFrm::BeforeDestruction() {
  ReleaseServerEvents();
  TForm::BeforeDestruction();
}

void TMainFrm::FormDestroy(TObject*) {
  try {
    // The log-out page, waited for at most a while; only for a user who logged in.
    if (loggedIn_) {
      WebLogin->Navigate(ServiceUrl("/loginout1.asp"));
      WaitForPane(WebLogin, kExitWaitMs, true);
    }
    // Today's record of customer messages: only what this run added is appended.
    TLog& log = TLog::GetInstance();
    std::string name = TLog::DayFileName(dt::Now());
    // The loaded part is on disk already while its file is there: today's, or after
    // midnight the earlier day's.
    std::string added = yMemoReceive->Text();
    if (!loadedHistory_.empty() && log.HisFileExists(loadedHistoryName_) &&
        added.compare(0, loadedHistory_.size(), loadedHistory_) == 0)
      added = added.substr(loadedHistory_.size());
    if (!log.HisFileExists(name)) {
      TStringList lines;
      lines.SetText(added);
      log.SaveHis(lines, name);
    } else {
      ExitLines->SetText(added);
      if (ExitLines->Count() > 0) {
        try {
          log.SaveHis(*ExitLines, name);
        } catch (const std::exception& e) {
          WriteErrorLog(std::string(e.what()) + "TLog.GetInstance.SaveHis,出错");
        }
      }
    }
    SharedList.clear();
    for (auto& l : lists_) l.reset();
    CreateLines.reset();
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "关闭出现错误");
  }
  // Always, whatever failed above.
  UnregisterHotKey(HandleIfAllocated(), hotKeyAtom_);
  if (hotKeyAtom_) GlobalDeleteAtom(hotKeyAtom_);
  hotKeyAtom_ = 0;
}
