// The lists the server fills during a session: consulting customers, enterprise friends
// (200-byte friend records), stored friend requests and received messages waiting to be
// opened. Owned by the service client; the main window's handlers fill the global CurrentMsg
// and then call the Add routines, which copy from it. GUI thread only.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/ServiceRecords.h"
#include "core/ServiceReplies.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Object.h"

// The system header names a routine GetUserName too (a macro); the user list's routine
// keeps its own name in every file that includes this one.
#undef GetUserName

// A received message as the main window's handlers leave it for the Add routines.
struct TChatRecvInfo {
  std::string Number;
  std::string Name;
  std::string Sender;
  std::string Text;  // the message block the main window builds
  TDateTime Time = 0;
  uint8_t Kind = 0;
  uint8_t Second = 0;
  uint8_t Flag = 0;
};
extern TChatRecvInfo CurrentMsg;

struct TCustomerRecord {
  std::string Number;  // the customer's account as text
  std::string Name;
  uint8_t State = 0;
};

// What every waiting message holds, in the chat list and in the offline queue alike.
struct TWaitingText {
  std::string Sender;
  std::string Text;  // the message block
  TDateTime Time = 0;
  int32_t TextLen() const { return int32_t(Text.size()); }
};

struct TReceivedMsg : TWaitingText {
  uint8_t Flag = 0;
  uint8_t Kind = 0;
  uint8_t Extra = 0;
};

class TUserManager : public TObject {
  KARV_CLASS(TUserManager, TObject)
 public:
  std::vector<TCustomerRecord> Customers;
  std::vector<TFriendRecord> Friends;
  std::vector<TStoredRequest> Requests;
  std::vector<TReceivedMsg> ReceiveMsgList;
  uint8_t Flag = 0;

  // Appends CurrentMsg's Number and Name as a customer unless that number is listed.
  bool AddUser();
  bool HasUser(const std::string& number) const;
  // Removes the last customer with exactly that number text.
  bool RemoveUser(const std::string& number);

  // Appends a copy of the record unless its friend is listed, who is then marked online.
  bool AddEnterpriseFriend(const uint8_t* record);
  bool AddEnterpriseFriend(const TFriendRecord& record) { return AddEnterpriseFriend(record.Data()); }
  // Sets the friend with that (decimal) number online; false when none is listed.
  bool MarkFriendOnline(const std::string& number);
  void SetFriendOffline(uint32_t number);
  // Removes every friend with that number.
  void SetDeleteFriend(uint32_t number);
  // The display name (flag text) of the first friend with that decimal number; `out` stays
  // unchanged when there is none.
  void GetUserName(const std::string& number, std::string& name) const;
  void GetUserFlags(const std::string& number, std::string& flags) const;

  // Appends a copy of CurrentMsg to ReceiveMsgList.
  bool AddReceiveMsg();

  // A new login starts with empty customer, friend and request lists; messages not yet
  // opened stay.
  void ClearSessionLists();

 private:
  const TFriendRecord* FindFriend(const std::string& number) const;
};
