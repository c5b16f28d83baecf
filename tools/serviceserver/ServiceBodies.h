// The bodies the service's server sends, one builder per protocol number, laid out from the
// server's side. Tests queue them as scripted replies; the stand-in server builds its own
// answers with them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ServiceProtocol.h"
#include "core/ServiceRecords.h"
#include "core/ServiceReplies.h"

namespace stub {

// A friend record filled the way tests and seed inputs use one: the company is `company`
// followed by the number, with fixed web address, e-mail and flags.
TFriendRecord SampleFriend(uint32_t number, std::string_view company, std::string_view nick, uint8_t state);

// A whole frame as the server sends it: no conversion, the length counts the body bytes.
std::string Frame(uint8_t proto, std::string_view body);

// 12. `formatted` is font size, font name, colour and text (BuildFormattedText for a friend).
std::string ChatBody(uint8_t offlineFlag, uint8_t senderKind, std::string_view formatted, std::string_view sender,
                     TDateTime time);
std::string LoginReplyBody(const TLoginReply& r);                                      // 27
std::string CustomerListBody(const std::vector<uint32_t>& accounts);                   // 28
std::string RegisterReplyBody(const TRegisterReply& r);                                // 32
std::string CustomerLeftBody(std::string_view account);                                // 33
std::string WaitingMessagesBody(uint8_t flag, const std::vector<TWaitingMessage>& m);  // 35
std::string FriendListBody(const std::vector<TFriendRecord>& records);                 // 37, 40
std::string FriendRecordBody(const TFriendRecord& record);                             // 38, 46
std::string AccountBody(uint32_t account);                                             // 39, 42, 45, 50
std::string FriendRequestBody(std::string_view text, const TFriendRecord& requester);  // 43
// 47; each entry is built from Requester, Time, Text and Record (Raw is not used).
std::string StoredRequestsBody(const std::vector<TStoredRequest>& requests);
std::string OfflineMessagesBody(const std::vector<TOfflineMessage>& messages);         // 49
std::string RegionTablesBody(const TRegionTables& tables);                             // 51
std::string CategoryTableBody(const std::vector<TCategoryEntry>& entries);             // 52
std::string TradeResultBody(uint8_t result);                                           // 53

}  // namespace stub
