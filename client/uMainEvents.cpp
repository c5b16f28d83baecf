// The main window's second half: what it does with each server message the connection hands
// it, the friend and consulting-customer lists and how they are drawn, and the road of a
// received chat message to its chat window, or into the waiting list behind the blinking tray
// icon. Each handler takes the record the connection already read from its frame; kRoutes
// binds it to its protocol number and logs its failure under its own name.

#include <algorithm>
#include <vector>

#include "client/ChatWindows.h"
#include "client/MessageBlock.h"
#include "client/uChatFrm.h"
#include "client/uHintAddFriend.h"
#include "client/uMain.h"
#include "client/uMsgHistory.h"
#include "client/uTrade.h"
#include "core/ReceiveMessage.h"
#include "core/UserManager.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

namespace {

using TPacketHandler = void (TMainFrm::*)(TObject*, const uint8_t*, int32_t);
// Protocol number, handler, and the text after an exception's message in its log line
// (nullptr: the exception goes on to the connection, which logs it).
struct PacketRoute {
  uint8_t number;
  TPacketHandler handler;
  const char* failure;
};
const PacketRoute kRoutes[] = {
    {proto::ChatMsg, &TMainFrm::OnReceiveChatMsg, "OnReceiveChatMsg"},
    {proto::CustomerList, &TMainFrm::OnCustomerList, "OnCustomerList"},
    {proto::CustomerLeft, &TMainFrm::OnCustomerLeft, "OnCustomerLeft"},
    {proto::CustomerOffLineMsg, &TMainFrm::OnCustomerOffLineMsg, "OnCustomerOffLineMsg"},
    {proto::KickedOff, &TMainFrm::OnKickedOff, nullptr},
    {proto::FriendList, &TMainFrm::OnFriendUser, "OnFriendUser"},
    {proto::FriendOnline, &TMainFrm::OnFriendOnline, "OnFriendOnline"},
    {proto::FriendOffline, &TMainFrm::OnFriendOffline, "OnFriendOffline"},
    {proto::FriendRequest, &TMainFrm::OnAddFriendRequest, "OnAddFriendRequest"},
    {proto::FriendRefuse, &TMainFrm::OnAddFriendRefused, "OnAddFriendRefused"},
    {proto::AddFriendToList, &TMainFrm::OnAddFriendToList, "OnAddFriendToList,出错"},
    {proto::OffLineFriendRequests, &TMainFrm::OnOffLineFriendRequests, "OnOffLineFriendRequests"},
    {proto::EnterpriseOffLineMsg, &TMainFrm::OnEnterpriseOffLineMsg, "OnEnterpriseOffLineMsg"},
    {proto::DeleteFriend, &TMainFrm::OnDeleteFriend, "OnDeleteFriend出错"},
    {proto::StateInfo, &TMainFrm::HandleStateInfo, "TMainFrm.HandleStateInfo出错"},
    {proto::CategoryInfo, &TMainFrm::HandleCategoryInfo, "TMainFrm.HandleCategoryInfo出错"},
};

const char kOnline[] = "(在线)";
const char kOffline[] = "(离线)";
const size_t kStateSuffix = 6;  // bytes of either suffix in code page 936
const size_t kCustomerPrefixBytes = sizeof kCustomerPrefix - 1;
const char kServiceAccount[] = "10000";

TUserManager& Users() { return *ServiceClient->UserManager; }

std::string What(const std::exception& e) { return e.what(); }

// For an error line: the start of the first of these offline messages from `sender`.
std::string FirstText(const std::vector<TOfflineMessage>& records, const std::string& sender) {
  for (const TOfflineMessage& r : records)
    if (sys::IntToStr(r.Sender) == sender) return LogExcerpt(sys::Trim(r.Text));
  return {};
}

// The number of a friend-list item: its text without the state suffix.
std::string FriendItemNumber(const std::string& item) {
  return item.size() >= kStateSuffix ? item.substr(0, item.size() - kStateSuffix) : std::string();
}

// The number of a customer-list item: after kCustomerPrefix, before the first "(".
std::string CustomerItemNumber(const std::string& item) {
  if (item.size() <= kCustomerPrefixBytes) return {};
  std::string rest = item.substr(kCustomerPrefixBytes);
  return rest.substr(0, rest.find('('));
}

std::string FriendName(const std::string& number) {
  std::string name;
  Users().GetUserName(number, name);
  return name;
}

// A consulting customer's stored message as a block of its own: the stored time, the
// default font.
TMessageBlock CustomerBlock(const std::string& sender, const std::string& text, TDateTime time) {
  TMessageBlock b;
  b.DisplayName = sender;
  b.Friend = 0;
  b.Online = 0;
  b.Time = time;
  b.Formatted = BuildCustomerFormattedText(10, "宋体", "0", text);
  return b;
}

void FlashBoth(TCustomForm* window) {
  FlashWindow(window->Handle(), TRUE);
  if (Application) FlashWindow(Application->Handle(), TRUE);
}

}  // namespace

// ---------------------------------------------------------------- events

void TMainFrm::AssignServerEvents() {
  for (const PacketRoute& r : kRoutes) {
    TPacketEvent& event = *ServiceClient->EventFor(r.number);
    if (!r.failure) {
      event = TPacketEvent(this, r.handler);
      continue;
    }
    // Each handler's failure is logged under its own name and leaves the window running.
    event = TPacketEvent(
        [this, r](TObject* sender, const uint8_t* frame, int32_t held) {
          try {
            (this->*r.handler)(sender, frame, held);
          } catch (const std::exception& e) {
            WriteErrorLog(What(e) + r.failure);
          }
        },
        this);
  }
  ServiceClient->OnHint = TPacketEvent(this, &TMainFrm::OnFriendHint);
}

void TMainFrm::AssignCloseEvent() { ServiceClient->OnClose = TNotifyEvent(this, &TMainFrm::OnServerDisconnect); }

void TMainFrm::ReleaseServerEvents() {
  if (!ServiceClient) return;
  for (const PacketRoute& r : kRoutes) ServiceClient->EventFor(r.number)->ClearIfOwner(this);
  ServiceClient->OnHint.ClearIfOwner(this);
  ServiceClient->OnClose.ClearIfOwner(this);
}

// ---------------------------------------------------------------- helpers

std::string TMainFrm::BuildBlock(const TMessageBlock& block) {
  if (messageBlock_.size() != kMessageBlockCapacity) messageBlock_.assign(kMessageBlockCapacity, 0);
  size_t size = WriteMessageBlock(block, messageBlock_.data(), messageBlock_.size());
  return std::string(messageBlock_.data(), size);
}

void TMainFrm::StartBlinking() {
  TrayNotifyIcon->SetIconList(ImageList);
  TrayNotifyIcon->SetCycleIcons(true);
}

void TMainFrm::StopBlinking() {
  TrayNotifyIcon->SetCycleIcons(false);
  // The list also holds the normal frame: going back to frame 0 is the normal icon.
  TrayNotifyIcon->SetIconIndex(0);
}

void TMainFrm::Balloon(const std::string& text) {
  TrayNotifyIcon->ShowBalloonHint("系统提示", text, TBalloonIconKind::bikInfo, 10);
}

void TMainFrm::PostChatToWindow(TCustomForm* window, const std::string& block) {
  SendMessageBlock(window->Handle(), block, Handle());
}

void TMainFrm::SetUpChatWindow(TCustomForm* window, const std::string& number, bool enterpriseFriend) {
  // Caption, labels, partner number and friend flag at once.
  if (auto* chat = dynamic_cast<TChatFrm*>(window))
    chat->SetPartner(number, enterpriseFriend ? FriendName(number) : std::string(), enterpriseFriend);
}

TCustomForm* TMainFrm::OpenChatWindow(const std::string& number, bool enterpriseFriend) {
  if (TCustomForm* open = chat_windows::Find(number, enterpriseFriend)) return open;
  TCustomForm* window = CreateForm<TChatFrm>(Application);
  ChatFrm = window;
  SetUpChatWindow(window, number, enterpriseFriend);
  return window;
}

void TMainFrm::AppendCustomerRecord(const std::string& block) {
  auto b = ReadMessageBlock(block.data(), block.size());
  auto text = b ? ReadBlockText(*b) : std::nullopt;
  if (!text) return;
  TTextAttributes a;
  if (!text->FontName.empty()) a.Name = text->FontName;
  if (text->FontSize) a.Size = text->FontSize;
  a.Color = TColor(text->Colour);
  // The record breaks lines at a lone line feed too: each of them gets its indent, or it
  // would start an unindented line that reads as another message's heading.
  yMemoReceive->AppendText(std::string(kCustomerPrefix) + b->DisplayName + "  " + dt::DateTimeToStr(dt::Now()) +
                               "\r\n" + IndentedLines(sys::UnifyLineBreaks(text->Text, "\r"), "\r") + "\r\n",
                           a);
}

// ---------------------------------------------------------------- chat messages

void TMainFrm::OnReceiveChatMsg(TObject*, const uint8_t* Frame, int32_t Held) {
  const TChatMessage m = ReplyRecord<TChatMessage>(Frame, Held);
  seams::Sound().PlayFile("Audio.wav");
  const std::string sender = sys::Trim(m.Sender);
  const bool isFriend = m.SenderKind == 1;
  // A stored message gets a block of its own too, stamped with its own time.
  TMessageBlock b;
  b.DisplayName = sender;
  if (isFriend) {
    std::string name = FriendName(sender);
    if (!name.empty()) b.DisplayName = name;
  }
  b.Friend = isFriend ? 1 : 0;
  b.Online = m.OfflineFlag == 0 ? 1 : 0;
  b.Time = m.OfflineFlag == 0 ? dt::Now() : m.Time;
  b.Formatted = m.Formatted;
  const std::string block = BuildBlock(b);
  CurrentMsg = TChatRecvInfo{};
  CurrentMsg.Number = sender;
  CurrentMsg.Sender = sender;
  CurrentMsg.Text = block;
  CurrentMsg.Time = m.Time;
  CurrentMsg.Kind = isFriend ? 1 : 0;
  CurrentMsg.Flag = 0;  // a live entry: its block goes to the window as it is
  if (TCustomForm* window = chat_windows::Find(sender, isFriend)) {
    try {
      FlashBoth(window);
      PostChatToWindow(window, block);
      if (!isFriend) AppendCustomerRecord(block);
    } catch (const std::exception& e) {
      WriteErrorLog(What(e) + "接收到消息，并且" + sender + "窗体已经打开重新显示出现错误" + "消息内空：" +
                    FormattedLogExcerpt(m.Formatted, !isFriend));
    }
    return;
  }
  try {
    CurrentMsg.Second = 0;  // not yet shown
    Users().AddReceiveMsg();
    StartBlinking();
  } catch (const std::exception& e) {
    WriteErrorLog(What(e) + "不存在打开的窗体" + sender + "添加到消息队列,消息内容:" +
                  FormattedLogExcerpt(m.Formatted, !isFriend));
  }
}

void TMainFrm::FlashTrayHasMsg() {
  // Handing a block over can pump messages; one opening at a time.
  if (openingMessages_ || !ServiceClient) {
    TrayNotifyIcon->ShowMainForm();
    return;
  }
  openingMessages_ = true;
  struct ResetOnExit {
    bool& flag;
    ~ResetOnExit() { flag = false; }
  } reset{openingMessages_};
  auto& waiting = Users().ReceiveMsgList;
  // With nothing waiting only the main window comes back: the tray keeps its picture, the
  // disconnected one included.
  const bool hadWaiting = !waiting.empty();
  while (!waiting.empty()) {
    TReceivedMsg entry = waiting.front();
    if (TrayNotifyIcon->IconIndex() == 1) TrayNotifyIcon->SetIconIndex(0);
    const bool isFriend = entry.Kind == 1;
    TCustomForm* window = nullptr;
    try {
      window = OpenChatWindow(entry.Sender, isFriend);
    } catch (const std::exception& e) {
      WriteErrorLog(What(e) + "ChatFrm:=TChatFrm.create(Owner)出错");
    }
    // Without a window the entry keeps waiting rather than being lost.
    if (!window) break;
    if (entry.Flag == 0) {
      PostChatToWindow(window, entry.Text);
      if (!isFriend) AppendCustomerRecord(entry.Text);
    } else if (isFriend) {
      for (TOfflineRecord& r : OfflineMsgQueue->Items)
        if (r.Sender == entry.Sender && !r.Shown) {
          PostChatToWindow(window, r.Text);
          r.Shown = true;
        }
    } else {
      // A customer's stored message carries its plain text.
      std::string block = BuildBlock(CustomerBlock(entry.Sender, entry.Text, entry.Time));
      PostChatToWindow(window, block);
      AppendCustomerRecord(block);
    }
    SetUpChatWindow(window, entry.Sender, isFriend);
    Show();
    try {
      if (!waiting.empty()) waiting.erase(waiting.begin());
    } catch (const std::exception& e) {
      WriteErrorLog(What(e) + "UserManager.ReceiveMsgList.Remove(pReceiveMsg)");
    }
  }
  if (waiting.empty() && (hadWaiting || TrayNotifyIcon->CycleIcons())) StopBlinking();
  try {
    TrayNotifyIcon->ShowMainForm();
  } catch (const std::exception& e) {
    WriteErrorLog(What(e) + "TrayNotifyIcon.ShowMainForm");
  }
}

void TMainFrm::OnEnterpriseOffLineMsg(TObject*, const uint8_t* Frame, int32_t Held) {
  const auto records = ReplyRecord<std::vector<TOfflineMessage>>(Frame, Held);
  const size_t first = OfflineMsgQueue->Items.size();
  std::vector<std::string> senders;
  for (const TOfflineMessage& r : records) {
    try {
      std::string sender = sys::IntToStr(r.Sender);
      senders.push_back(sender);
      TMessageBlock b;
      b.DisplayName = FriendName(sender) + " ";
      b.Friend = 1;
      b.Online = 0;
      b.Time = r.Time;
      b.Formatted = BuildFormattedText(r.FontSize, sys::Trim(r.FontName), r.Colour, sys::Trim(r.Text));
      CurrentOffline = TChatRecvInfo{};
      CurrentOffline.Sender = sender;
      CurrentOffline.Text = BuildBlock(b);
      CurrentOffline.Time = r.Time;
      CurrentOffline.Kind = 1;
      CurrentOffline.Second = 0;
      OfflineMsgQueue->Add();
    } catch (const std::exception& e) {
      WriteErrorLog(What(e) + "OnEnterpriseOffLineMsg");
    }
  }
  std::vector<std::string> distinct;
  try {
    for (const auto& s : senders)
      if (std::find(distinct.begin(), distinct.end(), s) == distinct.end()) distinct.push_back(s);
  } catch (const std::exception& e) {
    WriteErrorLog(What(e) + "分离重复用户出错，TMainFrm.OnEnterpriseOffLineMsg");
  }
  for (const std::string& sender : distinct) {
    if (TCustomForm* window = chat_windows::Find(sender, true)) {
      try {
        FlashBoth(window);
        for (size_t i = first; i < OfflineMsgQueue->Items.size(); ++i) {
          TOfflineRecord& r = OfflineMsgQueue->Items[i];
          if (r.Sender == sender && !r.Shown) {
            PostChatToWindow(window, r.Text);
            r.Shown = true;
          }
        }
      } catch (const std::exception& e) {
        WriteErrorLog(What(e) + "接收到消息，并且" + sender + "窗体已经打开重新显示出现错误" + "消息内空：" +
                      FirstText(records, sender));
      }
      continue;
    }
    try {
      CurrentMsg = TChatRecvInfo{};
      CurrentMsg.Sender = sender;
      CurrentMsg.Number = sender;
      CurrentMsg.Kind = 1;
      CurrentMsg.Flag = 1;  // stands for this sender's queued offline messages
      Users().AddReceiveMsg();
      StartBlinking();
    } catch (const std::exception& e) {
      WriteErrorLog(What(e) + "不存在打开的窗体" + sender + "添加到消息队列,消息内容:" + FirstText(records, sender));
    }
  }
}

void TMainFrm::OnCustomerOffLineMsg(TObject*, const uint8_t* Frame, int32_t Held) {
  const auto w = ReplyRecord<TWaitingMessages>(Frame, Held);
  bool live = false;
  for (const TWaitingMessage& m : w.Items) {
    try {
      CurrentMsg = TChatRecvInfo{};
      CurrentMsg.Sender = sys::Trim(m.Sender);
      CurrentMsg.Number = CurrentMsg.Sender;
      CurrentMsg.Time = m.Time;
      CurrentMsg.Kind = 0;
      CurrentMsg.Flag = w.Flag != 0 ? 1 : 0;
      // The offline-message window shows the plain text; a live entry needs a block of its
      // own, since it goes to a chat window.
      CurrentMsg.Text =
          w.Flag != 0 ? sys::Trim(m.Text) : BuildBlock(CustomerBlock(CurrentMsg.Sender, sys::Trim(m.Text), m.Time));
      Users().AddReceiveMsg();
      live = live || w.Flag == 0;
    } catch (const std::exception& e) {
      WriteErrorLog(What(e) + "OnCustomerOffLineMsg");
    }
  }
  if (live) StartBlinking();
  if (w.Flag == 1) CreateForm<TMsgHistoryFrm>(Application)->Show();
}

// ---------------------------------------------------------------- friends

void TMainFrm::AddServiceContact() {
  if (!ServiceClient || LoginData.Username == kServiceAccount) return;
  TFriendRecord r;
  r.SetNumber(10000);
  r.SetCompanyName("10000");
  r.SetNumberText("10000");
  r.SetNickName("Veskaran客服");
  r.SetState(1);
  r.SetFlags("1");
  Users().AddEnterpriseFriend(r);
}

void TMainFrm::RefreshFriendList() {
  if (!ServiceClient) return;
  TListStrings& items = yListEnterprise->Items();
  items.Clear();
  for (const TFriendRecord& f : Users().Friends) {
    std::string number = sys::IntToStr(f.Number());
    std::string text = number + (f.State() == 1 ? kOnline : kOffline);
    int at = -1;
    for (int i = 0; i < items.Count() && at < 0; ++i)
      if (FriendItemNumber(items[i]) == number) at = i;
    if (at >= 0)
      items.Set(at, text);
    else
      items.Add(text);
  }
}

void TMainFrm::OnFriendUser(TObject*, const uint8_t* Frame, int32_t Held) {
  for (const TFriendRecord& r : ReplyRecord<std::vector<TFriendRecord>>(Frame, Held)) Users().AddEnterpriseFriend(r);
  RefreshFriendList();
  WriteErrorLog("OnFriendUser");  // the trace line of every friend list
}

void TMainFrm::OnFriendOnline(TObject*, const uint8_t* Frame, int32_t Held) {
  TFriendRecord r = ReplyRecord<TFriendRecord>(Frame, Held);
  Users().AddEnterpriseFriend(r);
  RefreshFriendList();
  Balloon("好友上线，号码:" + sys::CutAnsi(r.NumberText(), 44));
}

void TMainFrm::OnFriendOffline(TObject*, const uint8_t* Frame, int32_t Held) {
  uint32_t number = ReplyRecord<uint32_t>(Frame, Held);
  Users().SetFriendOffline(number);
  WriteErrorLog("接收好友离线信息,好友号码:" + sys::IntToStr(number));
  RefreshFriendList();
  Balloon("好友离线，号码:" + sys::IntToStr(number));
}

void TMainFrm::OnAddFriendToList(TObject*, const uint8_t* Frame, int32_t Held) {
  Users().AddEnterpriseFriend(ReplyRecord<TFriendRecord>(Frame, Held));
  RefreshFriendList();
}

void TMainFrm::OnDeleteFriend(TObject*, const uint8_t* Frame, int32_t Held) {
  uint32_t number = ReplyRecord<uint32_t>(Frame, Held);
  Balloon(FriendName(sys::IntToStr(number)) + "已从好友列表中将您删除");
  Users().SetFriendOffline(number);
  RefreshFriendList();
}

void TMainFrm::OnAddFriendRefused(TObject*, const uint8_t* Frame, int32_t Held) {
  Balloon(sys::IntToStr(ReplyRecord<uint32_t>(Frame, Held)) + "拒绝了您添加好友请求");
}

void TMainFrm::OnFriendHint(TObject*, const uint8_t*, int32_t) { RefreshFriendList(); }

void TMainFrm::OnAddFriendRequest(TObject*, const uint8_t* Frame, int32_t Held) {
  TFriendRequest r = ReplyRecord<TFriendRequest>(Frame, Held);
  seams::Sound().PlayFile("Audio.wav");
  HinfAddFriendFrm = CreateForm<THinfAddFriendFrm>(Application);
  HinfAddFriendFrm->ShowRequest(r);
  HinfAddFriendFrm->Show();
}

void TMainFrm::OnOffLineFriendRequests(TObject*, const uint8_t* Frame, int32_t Held) {
  Users().Requests.clear();
  for (const TStoredRequest& r : ReplyRecord<std::vector<TStoredRequest>>(Frame, Held)) {
    HinfAddFriendFrm = CreateForm<THinfAddFriendFrm>(Application);
    HinfAddFriendFrm->ShowStoredRequest(r);
    HinfAddFriendFrm->Show();
  }
}

// ---------------------------------------------------------------- customers

void TMainFrm::RefreshCustomerList() {
  if (!ServiceClient) return;
  TListStrings& items = yListUser->Items();
  items.Clear();
  for (const TCustomerRecord& c : Users().Customers)
    items.Add(std::string(kCustomerPrefix) + c.Name + (c.State ? kOffline : kOnline));
}

void TMainFrm::OnCustomerList(TObject*, const uint8_t* Frame, int32_t Held) {
  const auto numbers = ReplyRecord<std::vector<uint32_t>>(Frame, Held);
  WebBrowser1->SetVisible(false);
  for (uint32_t n : numbers) {
    CurrentMsg = TChatRecvInfo{};
    CurrentMsg.Number = sys::IntToStr(n);
    CurrentMsg.Name = CurrentMsg.Number;
    Users().AddUser();
  }
  RefreshCustomerList();
  if (Panel7->Visible()) Panel7->SetVisible(false);
  yListUser->SetVisible(true);
}

void TMainFrm::OnCustomerLeft(TObject*, const uint8_t* Frame, int32_t Held) {
  std::string number = sys::Trim(ReplyRecord<std::string>(Frame, Held));
  Users().RemoveUser(number);
  RefreshCustomerList();
  WriteErrorLog(number + "断开");
  if (yListUser->Items().Count() == 0) {
    // The advertising page comes back with its pane.
    WebBrowser1->SetVisible(true);
    Panel7->SetVisible(true);
    yListUser->SetVisible(false);
  }
}

// ---------------------------------------------------------------- connection

void TMainFrm::OnKickedOff(TObject*, const uint8_t*, int32_t) {
  ShowMsg("系统提示", "此帐号已在另外一个地方登陆\r您被迫下线");
}

void TMainFrm::OnServerDisconnect(TObject*) {
  IsConnected = false;
  SharedList.clear();
  StatusBar->SetPanelText(0, "当前状态:与服务器断开连接");
  TrayNotifyIcon->SetCycleIcons(false);
  Balloon("与服务器断开连接");
}

// ---------------------------------------------------------------- the lists

void TMainFrm::DrawContact(TListBox* list, int index, HDC dc, RECT rect, unsigned state, bool friendList) {
  if (index < 0 || index >= list->Items().Count()) return;
  const std::string& text = list->Items()[index];
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &rect, white);
  DeleteObject(white);
  HPEN pen = CreatePen(PS_SOLID, 1, 0xD4C492);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HBRUSH frame = nullptr;
  if (!friendList) {
    frame = CreateSolidBrush(0xFFF7F7);
    HGDIOBJ old = SelectObject(dc, frame);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, old);
  }
  COLORREF textColour = RGB(0, 0, 0);
  if (state & odSelected) {
    HBRUSH sel = CreateSolidBrush(0xFFFAD6);
    HGDIOBJ old = SelectObject(dc, sel);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(sel);
    textColour = 0xFF0000;
    RECT focus = rect;
    if (state & odFocused) focus.left -= 1;
    DrawFocusRect(dc, &focus);
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  if (frame) DeleteObject(frame);
  if (headCopy_) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, headCopy_);
    int top = rect.top + ((rect.bottom - rect.top) - 30) / 2;
    BitBlt(dc, rect.left, top, 30, 30, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  SetBkMode(dc, TRANSPARENT);
  if (!friendList) {
    SetTextColor(dc, textColour);
    TextOutA(dc, rect.left + 42, rect.top + 10, text.c_str(), int(text.size()));
    return;
  }
  std::string number = FriendItemNumber(text), flags;
  if (ServiceClient) Users().GetUserFlags(number, flags);
  SetTextColor(dc, flags.compare(0, 1, "1") == 0 ? RGB(255, 0, 0) : textColour);
  TextOutA(dc, rect.left + 42, rect.top + 6, text.c_str(), int(text.size()));
  std::string name = ServiceClient ? FriendName(number) : std::string();
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, rect.left + 42, rect.top + 20, name.c_str(), int(name.size()));
}

void TMainFrm::yListEnterpriseDrawItem(TObject*, int Index, HDC Dc, RECT Rect, unsigned State) {
  DrawContact(yListEnterprise, Index, Dc, Rect, State, true);
}

void TMainFrm::yListUserDrawItem(TObject*, int Index, HDC Dc, RECT Rect, unsigned State) {
  DrawContact(yListUser, Index, Dc, Rect, State, false);
}

void TMainFrm::ChatFromList(TListBox* list, bool enterpriseFriend) {
  try {
    int index = list->ItemIndex();
    if (index < 0) return;
    if (TrayNotifyIcon->CycleIcons()) {
      FlashTrayHasMsg();
      return;
    }
    const std::string& item = list->Items()[index];
    std::string number = enterpriseFriend ? FriendItemNumber(item) : CustomerItemNumber(item);
    // The partner's own window comes forward, not merely the last one made.
    if (TCustomForm* open = chat_windows::Find(number, enterpriseFriend))
      open->BringToFront();
    else
      OpenChatWindow(number, enterpriseFriend);
  } catch (const std::exception& e) {
    WriteErrorLog(What(e) + "企业窗体双击出现错误");
  }
}

void TMainFrm::yListEnterpriseDblClick(TObject*) { ChatFromList(yListEnterprise, true); }

void TMainFrm::yListUserDblClick(TObject* Sender) { ShowFriendMsg(Sender); }

void TMainFrm::ShowFriendMsg(TObject*) { ChatFromList(yListUser, false); }

void TMainFrm::N3Click(TObject*) {
  try {
    int index = yListEnterprise->ItemIndex();
    if (index < 0) {
      ShowMsg("系统提示", "请选中好友，再执行删除操作");
      return;
    }
    int answer = seams::Dialogs().Ask(Handle(), "是否删除此好友？", "系统提示", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
    std::string number = FriendItemNumber(yListEnterprise->Items()[index]);
    if (number == kServiceAccount) return;
    ServiceClient->SendDeleteFriend(LoginData.Username, number);
    Users().SetDeleteFriend(uint32_t(sys::StrToIntDef(number, 0)));
    yListEnterprise->Items().Delete(index);
  } catch (const std::exception& e) {
    WriteErrorLog(What(e) + "删除好友关系出错");
  }
}

void TMainFrm::N2Click(TObject*) { yListEnterprise->SetItemIndex(-1); }

// ---------------------------------------------------------------- trade tables

void TMainFrm::HandleStateInfo(TObject*, const uint8_t* Frame, int32_t Held) {
  TRegionTables t = ReplyRecord<TRegionTables>(Frame, Held);
  RegionTable1 = std::move(t.Provinces);
  RegionTable2 = std::move(t.Cities);
  RegionTable3 = std::move(t.Districts);
}

void TMainFrm::HandleCategoryInfo(TObject*, const uint8_t* Frame, int32_t Held) {
  IndustryTable = ReplyRecord<std::vector<TCategoryEntry>>(Frame, Held);
}
