// Request bodies and the dispatch of received frames.
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

TPacketEvent* TServiceClient::EventFor(uint8_t proto) {
  switch (proto) {
    case 12: return &OnChatMsg;
    case 27: return &OnLoginReply;
    case 28: return &OnCustomerList;
    case 33: return &OnCustomerLeft;
    case 35: return &OnCustomerOffLineMsg;
    case 36: return &OnKickedOff;
    case 37: return &OnFriendList;
    case 38: return &OnFriendOnline;
    case 39: return &OnFriendOffline;
    case 40: return &OnFindResult;
    case 42: return &OnAlreadyFriend;
    case 43: return &OnAddFriendRequest;
    case 45: return &OnAddFriendRefused;
    case 46: return &OnAddFriendToList;
    case 47: return &OnOffLineFriendRequests;
    case 49: return &OnEnterpriseOffLineMsg;
    case 50: return &OnDeleteFriend;
    case 51: return &OnStateInfo;
    case 52: return &OnCategoryInfo;
    case 53: return &OnTradeSaveResult;
    default: return nullptr;
  }
}

void TServiceClient::SendLogin(const std::string& username, const std::string& passHash) {
  uint16_t v[4] = {0, 0, 0, 0};
  GetExeVersion(v[0], v[1], v[2], v[3]);
  CurrentVersion = sys::Format("%u.%u.%u.%u", v[0], v[1], v[2], v[3]);
  TBodyWriter w;
  w.WireString(username).WireString(passHash);
  for (uint16_t part : v) w.U8(uint8_t(part));
  Send(27, w.Data());
}

void TServiceClient::SendChatMsg() {
  const TChatSendInfo& c = ChatSendInfo;
  std::string fontName = sys::CutAnsi(c.FontName, kMaxWireString);
  TBodyWriter w;
  w.U8(ChatKind).WireString(c.Receiver).WireString(c.Sender);
  w.U32(uint32_t(fontName.size() + c.Content.size() + 10));
  w.U8(uint8_t(c.FontSize)).WireString(fontName).U32(uint32_t(c.FontColor)).LongText(c.Content);
  Send(29, w.Data());
}

void TServiceClient::SendRegister() {
  const TRegisterInfo& r = RegisterInfo;
  TBodyWriter w;
  w.WireString(r.CompanyName).WireString(r.DisplayName).WireString(MD5Print(MD5String(r.Password)));
  w.WireString(r.Email).WireString(r.WebAddress).WireString(r.MacAddress);
  Send(32, w.Data());
}

void TServiceClient::SendProtocol34() { SendData(34, nullptr, 0); }

void TServiceClient::SendFindFriend(const std::string& account, const std::string& company) {
  uint8_t mode = 0;
  if (!account.empty() && !company.empty())
    mode = 2;
  else if (!account.empty())
    mode = 1;
  Send(40, TBodyWriter().U8(mode).WireString(account).WireString(company).Take());
}

void TServiceClient::SendAddFriendRequest(const TFriendRecord& target, const std::string& text) {
  Send(41, TBodyWriter().WireString(sys::IntToStr(target.Number())).WireString(text).Take());
}

void TServiceClient::SendFriendReply44(const std::string& own, const std::string& requester) {
  Send(44, TBodyWriter().WireString(own).WireString(requester).Take());
}

void TServiceClient::SendFriendReply45(const std::string& requester, const std::string& own) {
  Send(45, TBodyWriter().WireString(requester).WireString(own).Take());
}

void TServiceClient::SendDeleteFriend(const std::string& own, const std::string& friendNumber) {
  Send(50, TBodyWriter().WireString(own).WireString(friendNumber).Take());
}

void TServiceClient::SendTradeInfo() { Send(53, TradeInfo.Pack()); }

void TServiceClient::FireHintEvent() {
  if (OnHint) OnHint(this, RecvBuffer().Data(), int32_t(RecvBuffer().Held()));
}

namespace {
const char* TracedHandler(uint8_t proto) {
  switch (proto) {
    case 51: return "HandleStateInfo";
    case 52: return "HandleCategoryInfo";
    case 53: return "HandleTradeSaveResult";
    default: return nullptr;
  }
}
}  // namespace

void TServiceClient::DispatchPacket(const uint8_t* frame, int32_t held) {
  uint8_t proto = frame[1];
  if (proto == 48) return;
  TPacketEvent* event = EventFor(proto);
  if (!event && proto != 32) {
    TBaseSvrClient::DispatchPacket(frame, held);
    return;
  }
  TBody body = TBody::OfFrame(frame, held);
  try {
    CheckBody(proto, body);
  } catch (const EMalformedBody& e) {
    WriteErrorLog("协议号0x" + sys::IntToHex(proto, 2) + "的消息体有误，已丢弃：" + e.Message());
    return;
  }
  switch (proto) {
    case 32: {
      TRegisterReply r = ParseRegisterReply(body);
      NewAccount = r.NewAccount;
      if (OnRegisterReply) OnRegisterReply(this, r.Result, r.Account, r.Text);
      return;
    }
    case 27:
      if (ParseLoginReply(body).Result == 0) UserManager->ClearSessionLists();
      break;
    case 36:
      try {
        Socket().Close();
      } catch (const std::exception&) {
      }
      break;
    default:
      break;
  }
  const char* traced = TracedHandler(proto);
  if (traced) WriteErrorLog(std::string(traced) + "开始");
  if (*event) (*event)(this, frame, held);
  if (traced) WriteErrorLog(std::string(traced) + "结束");
}
