// Request bodies, and the one table through which received records reach their events.
#include "core/uSocketSvrClient.h"

// WinSock's header must come before windows.h, which the settings unit brings in.
#include "socket/AsyncClientSocket.h"

#include "core/MD5.h"
#include "core/WireFormat.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/rtl/SysUtils.h"

TChatSendInfo ChatSendInfo;
TRegisterInfo RegisterInfo;
TTradeInfo TradeInfo;
TLoginReply LoginReply;
std::unique_ptr<TServiceClient> ServiceClient;

TServiceClient::TServiceClient(const std::string& host, const std::string& port, TData* dataModule)
    : TBaseSvrClient(host, port), DataModule(dataModule), UserManager(std::make_unique<TUserManager>()) {}

void TServiceClient::SendLogin(const std::string& username, const std::string& passHash) {
  uint16_t v[4] = {0, 0, 0, 0};
  GetExeVersion(v[0], v[1], v[2], v[3]);
  CurrentVersion = sys::Format("%u.%u.%u.%u", v[0], v[1], v[2], v[3]);
  TBodyWriter w;
  w.WireString(username).WireString(passHash);
  for (uint16_t part : v) w.U8(uint8_t(part));
  Send(proto::Login, w.Data());
}

void TServiceClient::SendChatMsg(const TChatSendInfo& c) {
  std::string fontName = sys::CutAnsi(c.FontName, kMaxWireString);
  TBodyWriter w;
  w.U8(ChatKind).WireString(c.Receiver).WireString(c.Sender);
  w.U32(uint32_t(fontName.size() + c.Content.size() + 10));
  w.U8(uint8_t(c.FontSize)).WireString(fontName).U32(uint32_t(c.FontColor)).LongText(c.Content);
  Send(proto::ChatSend, w.Data());
}

void TServiceClient::SendRegister(const TRegisterInfo& r) {
  TBodyWriter w;
  w.WireString(r.CompanyName).WireString(r.DisplayName).WireString(MD5Print(MD5String(r.Password)));
  w.WireString(r.Email).WireString(r.WebAddress).WireString(r.MacAddress);
  Send(proto::Register, w.Data());
}

void TServiceClient::SendProtocol34() { SendData(proto::KeepAlive, nullptr, 0); }

void TServiceClient::SendFindFriend(const std::string& account, const std::string& company) {
  uint8_t mode = 0;
  if (!account.empty() && !company.empty())
    mode = 2;
  else if (!account.empty())
    mode = 1;
  Send(proto::FindFriend, TBodyWriter().U8(mode).WireString(account).WireString(company).Take());
}

void TServiceClient::SendAddFriendRequest(const TFriendRecord& target, const std::string& text) {
  Send(proto::AddFriendRequest, TBodyWriter().WireString(sys::IntToStr(target.Number())).WireString(text).Take());
}

void TServiceClient::SendFriendReply44(const std::string& own, const std::string& requester) {
  Send(proto::FriendAccept, TBodyWriter().WireString(own).WireString(requester).Take());
}

void TServiceClient::SendFriendReply45(const std::string& requester, const std::string& own) {
  Send(proto::FriendRefuse, TBodyWriter().WireString(requester).WireString(own).Take());
}

void TServiceClient::SendDeleteFriend(const std::string& own, const std::string& friendNumber) {
  Send(proto::DeleteFriend, TBodyWriter().WireString(own).WireString(friendNumber).Take());
}

void TServiceClient::SendTradeInfo(const TTradeInfo& info) { Send(proto::TradeSave, info.Pack()); }

void TServiceClient::FireHintEvent() {
  if (OnHint) OnHint(this, RecvBuffer().Data(), int32_t(RecvBuffer().Held()));
}

// ---------------------------------------------------------------- receiving

struct TServiceClient::TReplyRoute {
  uint8_t Number;
  void (TServiceClient::*Act)(const TReply&);  // the client's own step before the event
  TPacketEvent TServiceClient::*Event;         // nullptr: the step fires its own event
  const char* Traced;                          // bracketed by log lines "...开始"/"...结束"
};

const TServiceClient::TReplyRoute* TServiceClient::RouteOf(uint8_t number) {
  using C = TServiceClient;
  static const TReplyRoute kRoutes[] = {
      {proto::ChatMsg, nullptr, &C::OnChatMsg, nullptr},
      {proto::Login, &C::ClearListsOnLogin, &C::OnLoginReply, nullptr},
      {proto::CustomerList, nullptr, &C::OnCustomerList, nullptr},
      {proto::Register, &C::FireRegisterReply, nullptr, nullptr},
      {proto::CustomerLeft, nullptr, &C::OnCustomerLeft, nullptr},
      {proto::CustomerOffLineMsg, nullptr, &C::OnCustomerOffLineMsg, nullptr},
      {proto::KickedOff, &C::CloseOnKickedOff, &C::OnKickedOff, nullptr},
      {proto::FriendList, nullptr, &C::OnFriendList, nullptr},
      {proto::FriendOnline, nullptr, &C::OnFriendOnline, nullptr},
      {proto::FriendOffline, nullptr, &C::OnFriendOffline, nullptr},
      {proto::FindFriend, nullptr, &C::OnFindResult, nullptr},
      {proto::AlreadyFriend, nullptr, &C::OnAlreadyFriend, nullptr},
      {proto::FriendRequest, nullptr, &C::OnAddFriendRequest, nullptr},
      {proto::FriendRefuse, nullptr, &C::OnAddFriendRefused, nullptr},
      {proto::AddFriendToList, nullptr, &C::OnAddFriendToList, nullptr},
      {proto::OffLineFriendRequests, nullptr, &C::OnOffLineFriendRequests, nullptr},
      {proto::EnterpriseOffLineMsg, nullptr, &C::OnEnterpriseOffLineMsg, nullptr},
      {proto::DeleteFriend, nullptr, &C::OnDeleteFriend, nullptr},
      {proto::StateInfo, nullptr, &C::OnStateInfo, "HandleStateInfo"},
      {proto::CategoryInfo, nullptr, &C::OnCategoryInfo, "HandleCategoryInfo"},
      {proto::TradeSave, nullptr, &C::OnTradeSaveResult, "HandleTradeSaveResult"},
  };
  for (const TReplyRoute& r : kRoutes)
    if (r.Number == number) return &r;
  return nullptr;
}

TPacketEvent* TServiceClient::EventFor(uint8_t number) {
  const TReplyRoute* route = RouteOf(number);
  return route && route->Event ? &(this->*route->Event) : nullptr;
}

void TServiceClient::ClearListsOnLogin(const TReply& reply) {
  if (std::get<TLoginReply>(reply).Result == 0) UserManager->ClearSessionLists();
}

void TServiceClient::CloseOnKickedOff(const TReply&) {
  try {
    Socket().Close();
  } catch (const std::exception&) {
  }
}

void TServiceClient::FireRegisterReply(const TReply& reply) {
  const TRegisterReply& r = std::get<TRegisterReply>(reply);
  NewAccount = r.NewAccount;
  if (OnRegisterReply) OnRegisterReply(this, r.Result, r.Account, r.Text);
}

void TServiceClient::DispatchPacket(const uint8_t* frame, int32_t held) {
  const uint8_t number = frame[1];
  if (number == proto::Ignored) return;
  const TReplyRoute* route = RouteOf(number);
  if (!route) {
    TBaseSvrClient::DispatchPacket(frame, held);
    return;
  }
  TDispatch d{frame, held, {}, dispatching_};
  try {
    d.Record = CheckReply(number, TBody::OfFrame(frame, held));
  } catch (const EMalformedBody& e) {
    WriteErrorLog("协议号0x" + sys::IntToHex(number, 2) + "的消息体有误，已丢弃：" + e.Message());
    return;
  }
  // Handlers may pump messages and so be entered by the next frame; each level finds its own record.
  struct Restore {
    const TDispatch*& at;
    const TDispatch* outer;
    ~Restore() { at = outer; }
  } restore{dispatching_, dispatching_};
  dispatching_ = &d;
  if (route->Act) (this->*route->Act)(d.Record);
  if (!route->Event) return;
  if (route->Traced) WriteErrorLog(std::string(route->Traced) + "开始");
  if (const TPacketEvent& event = this->*route->Event) event(this, frame, held);
  if (route->Traced) WriteErrorLog(std::string(route->Traced) + "结束");
}
