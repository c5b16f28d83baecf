// TServiceClient: the one object through which Client talks to the service's server. It
// adds to the connection one send routine per request type, one event per received protocol
// number (windows assign their handlers at run time and read the body with the readers of
// ServiceReplies.h), the user lists and a reference to the data module. A received body is
// checked against its layout before its event fires; one that does not fit is logged and
// dropped.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

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
  TPacketEvent OnChatMsg;               // 12
  TPacketEvent OnLoginReply;            // 27
  TPacketEvent OnCustomerList;          // 28
  TRegisterEvent OnRegisterReply;       // 32
  TPacketEvent OnCustomerLeft;          // 33
  TPacketEvent OnCustomerOffLineMsg;    // 35
  TPacketEvent OnKickedOff;             // 36 (the socket is closed first)
  TPacketEvent OnFriendList;            // 37
  TPacketEvent OnFriendOnline;          // 38
  TPacketEvent OnFriendOffline;         // 39
  TPacketEvent OnFindResult;            // 40
  TPacketEvent OnAlreadyFriend;         // 42
  TPacketEvent OnAddFriendRequest;      // 43
  TPacketEvent OnAddFriendRefused;      // 45
  TPacketEvent OnAddFriendToList;       // 46
  TPacketEvent OnOffLineFriendRequests; // 47
  TPacketEvent OnEnterpriseOffLineMsg;  // 49
  TPacketEvent OnDeleteFriend;          // 50
  TPacketEvent OnStateInfo;             // 51
  TPacketEvent OnCategoryInfo;          // 52
  TPacketEvent OnTradeSaveResult;       // 53
  TPacketEvent OnHint;                  // bound to no number; see FireHintEvent
  std::unique_ptr<TUserManager> UserManager;
  uint8_t ChatKind = 0;  // kind byte of the next chat message

  // The event of a received protocol number, or nullptr for numbers without one (32 has
  // its own signature).
  TPacketEvent* EventFor(uint8_t proto);

  // 27. PassHash is the MD5 text of the password; the program's file version follows, and
  // CurrentVersion becomes its four parts joined by ".".
  void SendLogin(const std::string& username, const std::string& passHash);
  void SendChatMsg();    // 29, from ChatSendInfo and ChatKind
  void SendRegister();   // 32, from RegisterInfo
  void SendProtocol34(); // keep-alive, empty body
  void SendFindFriend(const std::string& account, const std::string& company);  // 40
  void SendAddFriendRequest(const TFriendRecord& target, const std::string& text);  // 41
  void SendFriendReply44(const std::string& own, const std::string& requester);  // accept
  void SendFriendReply45(const std::string& requester, const std::string& own);  // refuse
  void SendDeleteFriend(const std::string& own, const std::string& friendNumber);  // 50
  void SendTradeInfo();  // 53, from TradeInfo

  // Calls OnHint with the bytes held in the receive buffer.
  void FireHintEvent();

 protected:
  void DispatchPacket(const uint8_t* frame, int32_t held) override;

 private:
  void Send(uint8_t proto, const std::string& body) { SendData(proto, body.data(), int32_t(body.size())); }
};
