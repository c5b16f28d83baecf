// The main window: created first, it runs the login dialog while it is being created, then
// lives beside the notification area with the friend and customer lists, the network and
// domain timers, the global hot key, the tray icon and the buttons that open the other
// windows. Closing it ends the program.
// GUI thread only. The application owns it; the global MainFrm points to it while it exists.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/Image.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Memo.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/StringList.h"
#include "platform/web/WebBrowser.h"
#include "widgets/BitBtnEx.h"
#include "widgets/TrayNotifyIcon.h"

struct TMessageBlock;

class TMainFrm : public TForm {
  KARV_CLASS(TMainFrm, TForm)
 public:
  explicit TMainFrm(TComponent* owner);
  ~TMainFrm() override;

  TPanel* Panel1 = nullptr;
  TImage* Image1 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* lblNumber = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* lblMsgCount = nullptr;
  TPanel* yDomainParent = nullptr;
  TPanel* PanleLeft = nullptr;
  TImage* Imageleft = nullptr;
  TBitBtnExtend* btnFindFriend = nullptr;
  TBitBtnExtend* btnTuiGuang = nullptr;
  TBitBtnExtend* btneditinfo = nullptr;
  TBitBtnExtend* yTrade = nullptr;
  TBitBtnExtend* btnMark = nullptr;
  TBitBtnExtend* yService = nullptr;
  TBitBtnExtend* yZiXun = nullptr;
  TBitBtnExtend* btnCheck = nullptr;
  TBitBtnExtend* btnLinkTest = nullptr;
  TBitBtnExtend* ybtnDomain = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TListBox* yListEnterprise = nullptr;
  TPanel* Panel2 = nullptr;
  TPanel* Panel4 = nullptr;
  TImage* Image3 = nullptr;
  TLabel* Label2 = nullptr;
  TListBox* yListUser = nullptr;
  TPanel* Panel7 = nullptr;
  TWebBrowser* WebBrowser1 = nullptr;
  TPanel* PanelLogin = nullptr;
  TWebBrowser* WebLogin = nullptr;
  TGroupBox* Panel3 = nullptr;
  TRichEdit* yMemoReceive = nullptr;
  TStatusBar* StatusBar = nullptr;
  TTrayNotifyIcon* TrayNotifyIcon = nullptr;
  TImageList* ImageList = nullptr;
  TTimer* Timer = nullptr;
  TTimer* TimerDomain = nullptr;
  TPopupMenu* PopupMenu = nullptr;
  TMenuItem* N5 = nullptr;
  TMenuItem* N3 = nullptr;
  TMenuItem* N2 = nullptr;
  TPopupMenu* PopupMenuTrayicon = nullptr;
  TMenuItem* N4 = nullptr;
  TMenuItem* N1 = nullptr;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void TimerTimer(TObject* Sender);
  void TimerDomainTimer(TObject* Sender);
  void N1Click(TObject* Sender);
  void N2Click(TObject* Sender);
  void N3Click(TObject* Sender);
  void N4Click(TObject* Sender);
  void N5Click(TObject* Sender);
  void TrayNotifyIconClick(TObject* Sender);
  void TrayNotifyIconDblClick(TObject* Sender);
  void BitBtnExtend1Click(TObject* Sender);
  void btnTuiGuangClick(TObject* Sender);
  void btneditinfoClick(TObject* Sender);
  void yTradeClick(TObject* Sender);
  void btnmarkClick(TObject* Sender);
  void yServiceClick(TObject* Sender);
  void yZiXunClick(TObject* Sender);
  void btnCheckClick(TObject* Sender);
  void btnLinkTestClick(TObject* Sender);
  void ybtnDomainClick(TObject* Sender);
  // Every left-hand button swaps its glyph on enter and leave; one pair of handlers serves
  // all of them through a table of names.
  void LeftButtonMouseEnter(TObject* Sender);
  void LeftButtonMouseLeave(TObject* Sender);
  TPublishedTable Published() override;

  // For the login window.
  void SetConnectedStatus();
  void ShowTrayFrameZero();
  // After a successful login: the domain timer before the dialog closes, the rest after.
  void EnableDomainTimer();
  // Once the window is made, after the login: the domain check runs a timer's interval later.
  void StartDomainCheck();
  void LoginSucceeded(bool relogin, const std::string& username);
  void StartNetworkTimer();

  // Logs in to the service's web site inside the hidden browser pane.
  void OpenServiceUrl();
  // Brings the waiting messages up, or the main window back when there are none.
  void FlashTrayHasMsg();
  // The address of a page of the service's web server.
  static std::string ServiceUrl(const std::string& path);
  // The path of today's record of customer messages.
  static std::string TodaysHistoryFile();

  void WndProc(TMessage& m) override;

  // ---- server events and contact lists (uMainEvents.cpp)
  void OnReceiveChatMsg(TObject* Sender, const uint8_t* Frame, int32_t Held);         // 12
  void OnCustomerList(TObject* Sender, const uint8_t* Frame, int32_t Held);           // 28
  void OnCustomerLeft(TObject* Sender, const uint8_t* Frame, int32_t Held);           // 33
  void OnCustomerOffLineMsg(TObject* Sender, const uint8_t* Frame, int32_t Held);     // 35
  void OnKickedOff(TObject* Sender, const uint8_t* Frame, int32_t Held);              // 36
  void OnFriendUser(TObject* Sender, const uint8_t* Frame, int32_t Held);             // 37
  void OnFriendOnline(TObject* Sender, const uint8_t* Frame, int32_t Held);           // 38
  void OnFriendOffline(TObject* Sender, const uint8_t* Frame, int32_t Held);          // 39
  void OnAddFriendRequest(TObject* Sender, const uint8_t* Frame, int32_t Held);       // 43
  void OnAddFriendRefused(TObject* Sender, const uint8_t* Frame, int32_t Held);       // 45
  void OnAddFriendToList(TObject* Sender, const uint8_t* Frame, int32_t Held);        // 46
  void OnOffLineFriendRequests(TObject* Sender, const uint8_t* Frame, int32_t Held);  // 47
  void OnEnterpriseOffLineMsg(TObject* Sender, const uint8_t* Frame, int32_t Held);   // 49
  void OnDeleteFriend(TObject* Sender, const uint8_t* Frame, int32_t Held);           // 50
  void OnFriendHint(TObject* Sender, const uint8_t* Frame, int32_t Held);
  void HandleStateInfo(TObject* Sender, const uint8_t* Frame, int32_t Held);     // 51
  void HandleCategoryInfo(TObject* Sender, const uint8_t* Frame, int32_t Held);  // 52
  void OnServerDisconnect(TObject* Sender);
  // The packet events go to this window before the login dialog shows, so frames that
  // follow the login reply at once find their handler; the close event follows the dialog,
  // which holds it while it is open.
  void AssignServerEvents();
  void AssignCloseEvent();
  void ReleaseServerEvents();

  void RefreshFriendList();
  void RefreshCustomerList();
  // The built-in service contact, unless the account is the service's own.
  void AddServiceContact();
  void ShowFriendMsg(TObject* Sender);
  void PostChatToWindow(TCustomForm* window, const std::string& block);
  void AppendCustomerRecord(const std::string& block);
  void yListEnterpriseDrawItem(TObject* Sender, int Index, HDC Dc, RECT Rect, unsigned State);
  void yListUserDrawItem(TObject* Sender, int Index, HDC Dc, RECT Rect, unsigned State);
  void yListEnterpriseDblClick(TObject* Sender);
  void yListUserDblClick(TObject* Sender);

 protected:
  void BeforeDestruction() override;

 private:
  // Waits, serving messages, until the pane has loaded or the wait runs out or the program ends.
  bool WaitForPane(TWebBrowser* pane, int timeoutMs, bool whileEnding = false);

  std::vector<char> messageBlock_;
  bool shownOnce_ = false;
  bool loggedIn_ = false;  // a login succeeded in this run
  ATOM hotKeyAtom_ = 0;
  std::string iconFolder_;
  HBITMAP headBitmap_ = nullptr;
  HBITMAP headCopy_ = nullptr;
  std::unique_ptr<TStringList> lists_[3];
  std::string loadedHistory_;  // what the message record held when it was loaded
  std::string loadedHistoryName_;  // the day's file it was loaded from

  // Builds a block in the window's buffer and returns a copy of it.
  std::string BuildBlock(const TMessageBlock& block);
  void StartBlinking();
  void StopBlinking();
  void Balloon(const std::string& text);
  // The open chat window of the partner, or a new one set up for it (nullptr when none can
  // be made).
  TCustomForm* OpenChatWindow(const std::string& number, bool enterpriseFriend);
  void SetUpChatWindow(TCustomForm* window, const std::string& number, bool enterpriseFriend);
  void DrawContact(TListBox* list, int index, HDC dc, RECT rect, unsigned state, bool friendList);
  // A double click on a list: the waiting messages while the tray blinks, else the chat
  // with the selected contact.
  void ChatFromList(TListBox* list, bool enterpriseFriend);
  bool openingMessages_ = false;

  // ---- the web-site tools (uMainDomain.cpp)
  void CreateWhoisParser();
  void FreeWhoisParser();
  // The site-optimisation window, made on first use and kept, showing that page.
  void ShowSeoPage(int page);
  // The domain check has run in this run of the program.
  bool domainChecked_ = false;
  // The window is made: the domain check may run.
  bool domainArmed_ = false;
};

class TReceiveBuffer;

extern TMainFrm* MainFrm;
// Offline messages of enterprise friends waiting to be shown, made with the main window.
extern std::unique_ptr<TReceiveBuffer> OfflineMsgQueue;
// The publishing page of the service's web server, and the path format of its login-check
// page (the host is put before the formatted path).
extern std::string PublishUrl;
extern std::string LoginCheckFormat;
