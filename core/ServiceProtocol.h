// The protocol numbers of the service's wire protocol, one name per number, for both
// directions. The values are fixed by the server; never renumber them.
// Contract: constants only; any thread.
#pragma once
#include <cstdint>

namespace proto {

enum TNumber : uint8_t {
  ChatMsg = 12,                // received: a chat message
  Login = 27,                  // sent: login request; received: its reply
  CustomerList = 28,           // received: consulting customers online
  ChatSend = 29,               // sent: a chat message
  Register = 32,               // sent: registration; received: its reply
  CustomerLeft = 33,           // received: a consulting customer left
  KeepAlive = 34,              // sent: empty body on every network-timer tick
  CustomerOffLineMsg = 35,     // received: messages consulting customers left
  KickedOff = 36,              // received: the account logged in elsewhere
  FriendList = 37,             // received
  FriendOnline = 38,           // received
  FriendOffline = 39,          // received
  FindFriend = 40,             // sent: a search; received: its result
  AddFriendRequest = 41,       // sent
  AlreadyFriend = 42,          // received
  FriendRequest = 43,          // received: someone asks to be a friend
  FriendAccept = 44,           // sent
  FriendRefuse = 45,           // sent; received: a request of this user was refused
  AddFriendToList = 46,        // received
  OffLineFriendRequests = 47,  // received
  Ignored = 48,                // received: dropped without a log line
  EnterpriseOffLineMsg = 49,   // received
  DeleteFriend = 50,           // sent and received
  StateInfo = 51,              // received: region tables
  CategoryInfo = 52,           // received: industry table
  TradeSave = 53,              // sent: a trade posting; received: its result
};

}  // namespace proto
