// TServiceClient: the one object through which Client talks to the service's server. It
// adds to the connection one send routine per request type, one event per received protocol
// number, the user lists and a reference to the data module.
//
// Receiving: protocol number -> body check (CheckReply, ServiceReplies.h) -> typed record
// -> this unit's one table of events. The body is checked once, before the event fires, and
// the record read on the way is kept (a chat message's is read when a handler asks); a body
// that does not fit its layout is logged and dropped, so no handler sees it. Handlers keep
// the (sender, frame, held) signature and take the record with ReplyRecord<R>.
//
// Threads: GUI thread only; events run inside the socket's data notification and may pump
// messages, so a dispatch can be entered again by the next frame.
// Ownership: the global ServiceClient owns the one instance; the data module is the caller's
// and must outlive it; a window that sets an event gives it back (ClearIfOwner) before it is
// freed.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/ServiceProtocol.h"
#include "core/ServiceRecords.h"
#include "core/ServiceReplies.h"
#include "core/UserManager.h"
#include "core/uNetClient.h"

class TData;

// Sender, the frame (header and body; the body starts at Frame + 6) and its byte count.
using TPacketEvent = TEvent<void(TObject* Sender, const uint8_t* Frame, int32_t Held)>;
using TRegisterEvent = TEvent<void(TObject* Sender, uint8_t Result, uint32_t Account, const std::string& Text)>;

// Request records the windows fill before calling the matching send routine, and the login
// reply the login window keeps.
extern TChatSendInfo ChatSendInfo;
extern TRegisterInfo RegisterInfo;
extern TTradeInfo TradeInfo;
extern TLoginReply LoginReply;

class TServiceClient;
// The one connection of the program, made by the start routine.
extern std::unique_ptr<TServiceClient> ServiceClient;

class TServiceClient : public TBaseSvrClient {
  KARV_CLASS(TServiceClient, TBaseSvrClient)
 public:
  // Keeps `dataModule` (the global data module when the start routine runs).
  TServiceClient(const std::string& host, const std::string& port, TData* dataModule = nullptr);

  TData* DataModule;
  TPacketEvent OnChatMsg;
  TPacketEvent OnLoginReply;
  TPacketEvent OnCustomerList;
  TRegisterEvent OnRegisterReply;
  TPacketEvent OnCustomerLeft;
  TPacketEvent OnCustomerOffLineMsg;
  TPacketEvent OnKickedOff;  // the socket is closed first
  TPacketEvent OnFriendList;
  TPacketEvent OnFriendOnline;
  TPacketEvent OnFriendOffline;
  TPacketEvent OnFindResult;
  TPacketEvent OnAlreadyFriend;
  TPacketEvent OnAddFriendRequest;
  TPacketEvent OnAddFriendRefused;
  TPacketEvent OnAddFriendToList;
  TPacketEvent OnOffLineFriendRequests;
  TPacketEvent OnEnterpriseOffLineMsg;
  TPacketEvent OnDeleteFriend;
  TPacketEvent OnStateInfo;
  TPacketEvent OnCategoryInfo;
  TPacketEvent OnTradeSaveResult;
  TPacketEvent OnHint;  // bound to no number; see FireHintEvent
  std::unique_ptr<TUserManager> UserManager;
  uint8_t ChatKind = 0;  // kind byte of the next chat message

  // The event of a received protocol number, or nullptr for numbers without one (32 has
  // its own signature).
  TPacketEvent* EventFor(uint8_t number);

  // The record read from `frame`: the one the dispatch already read when `frame` is a frame
  // under dispatch (else read now from all of that frame), or read now from `held` bytes.
  // Throws EMalformedBody when the body does not fit R.
  template <class R>
  R Record(const uint8_t* frame, int32_t held) const {
    for (const TDispatch* d = dispatching_; d; d = d->Outer)
      if (d->Frame == frame) {
        if (const R* r = std::get_if<R>(&d->Record)) return *r;
        held = d->Held;
        break;
      }
    return ReadRecord<R>(TBody::OfFrame(frame, held));
  }

  // PassHash is the MD5 text of the password; the program's file version follows, and
  // CurrentVersion becomes its four parts joined by ".".
  void SendLogin(const std::string& username, const std::string& passHash);
  void SendChatMsg() { SendChatMsg(ChatSendInfo); }  // with ChatKind
  void SendChatMsg(const TChatSendInfo& info);
  void SendRegister() { SendRegister(RegisterInfo); }
  void SendRegister(const TRegisterInfo& info);
  void SendProtocol34();  // keep-alive, empty body
  void SendFindFriend(const std::string& account, const std::string& company);
  void SendAddFriendRequest(const TFriendRecord& target, const std::string& text);
  void SendFriendReply44(const std::string& own, const std::string& requester);  // accept
  void SendFriendReply45(const std::string& requester, const std::string& own);  // refuse
  void SendDeleteFriend(const std::string& own, const std::string& friendNumber);
  void SendTradeInfo() { SendTradeInfo(TradeInfo); }
  void SendTradeInfo(const TTradeInfo& info);

  // Calls OnHint with the bytes held in the receive buffer.
  void FireHintEvent();

 protected:
  void DispatchPacket(const uint8_t* frame, int32_t held) override;

 private:
  struct TReplyRoute;
  // A frame under dispatch and its record; nested dispatches chain to the outer one.
  struct TDispatch {
    const uint8_t* Frame;
    int32_t Held;
    TReply Record;
    const TDispatch* Outer;
  };
  static const TReplyRoute* RouteOf(uint8_t number);
  // What the client itself does with a reply before its event.
  void ClearListsOnLogin(const TReply& reply);
  void CloseOnKickedOff(const TReply& reply);
  void FireRegisterReply(const TReply& reply);

  void Send(uint8_t number, const std::string& body) { SendData(number, body.data(), int32_t(body.size())); }

  const TDispatch* dispatching_ = nullptr;
};

// The record of a frame handed to a protocol event (see TServiceClient::Record); read from
// the frame itself when there is no connection object.
template <class R>
R ReplyRecord(const uint8_t* frame, int32_t held) {
  return ServiceClient ? ServiceClient->Record<R>(frame, held) : ReadRecord<R>(TBody::OfFrame(frame, held));
}
