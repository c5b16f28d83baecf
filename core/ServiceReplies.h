// The bodies the server sends, one reader per protocol number. Every reader checks each
// length and count against the bytes the body holds and throws EMalformedBody otherwise;
// the connection reads each body once, before it fires an event, and hands the record on,
// so a handler never runs past a body. Pure functions of their input; any thread.
#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/ServiceRecords.h"
#include "core/WireFormat.h"

// The body of a frame held by the connection: the bytes after the 6-byte header.
struct TBody {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  // The body of the frame at `frame` of which `held` bytes are held; throws EMalformedBody
  // when the header or the announced body is not all there.
  static TBody OfFrame(const uint8_t* frame, int64_t held);
  TBodyReader Reader() const { return TBodyReader(Data, Size); }
};

// 12: a chat message.
struct TChatMessage {
  uint8_t OfflineFlag = 0;  // 0 for a live message
  uint8_t Second = 0;       // not used by the client
  uint8_t SenderKind = 0;   // 0 consulting customer, 1 enterprise friend
  std::string Formatted;    // font size, font name, colour, text (see TFormattedText)
  std::string Sender;
  TDateTime Time = 0;
};
TChatMessage ParseChatMessage(const TBody& body);

// The formatted text of a chat message. An enterprise friend's colour is a 32-bit value; a
// consulting customer's is a decimal text with a length byte.
struct TFormattedText {
  uint8_t FontSize = 0;
  std::string FontName;
  uint32_t Colour = 0;
  std::string ColourText;
  std::string Text;
};
TFormattedText ParseFormattedText(const std::string& formatted, bool colourAsText);
// The formatted text as an enterprise friend's client lays it out (the tail of protocol 29).
std::string BuildFormattedText(uint8_t fontSize, const std::string& fontName, uint32_t colour,
                               const std::string& text);

// 27: the login reply.
struct TLoginReply {
  uint8_t Result = 0;  // 0 success, 1 user name wrong, 2 password wrong, other: other errors
  std::string OwnName;
  uint32_t Value = 0;
  uint8_t UpdateFlag = 0;
  std::string SiteUrl;
  std::string NewestVersion;
  std::string Company;
  std::string Phone;
  std::string Fax;
  std::string Email;
  std::string Extra;
};
TLoginReply ParseLoginReply(const TBody& body);

// 28: consulting customers online.
std::vector<uint32_t> ParseCustomerList(const TBody& body);

// 32: the registration reply.
struct TRegisterReply {
  uint8_t Result = 0;  // 0 success, 3 failure, 4 repeated within ten minutes
  uint32_t NewAccount = 0;
  uint32_t Account = 0;
  std::string Text;
};
TRegisterReply ParseRegisterReply(const TBody& body);

// 33: the account text of a consulting customer who left.
std::string ParseCustomerLeft(const TBody& body);

// 35: messages that consulting customers left.
struct TWaitingMessage {
  std::string Text;
  std::string Sender;
  TDateTime Time = 0;
};
struct TWaitingMessages {
  uint8_t Flag = 0;
  std::vector<TWaitingMessage> Items;
};
TWaitingMessages ParseWaitingMessages(const TBody& body);

// 37 and 40: a count byte and that many friend records; 38 and 46: one friend record.
std::vector<TFriendRecord> ParseFriendList(const TBody& body);
TFriendRecord ParseFriendRecord(const TBody& body);

// 39, 42, 45, 50: one account number.
uint32_t ParseAccount(const TBody& body);

// 43: an incoming friend request.
struct TFriendRequest {
  std::string Text;
  TFriendRecord Requester;
};
TFriendRequest ParseFriendRequest(const TBody& body);

// 47: friend requests that waited while the user was offline; Raw keeps the whole entry.
struct TStoredRequest {
  uint32_t Requester = 0;
  TDateTime Time = 0;
  std::string Text;
  TFriendRecord Record;
  std::array<uint8_t, layout::stored_req::kSize> Raw{};
};
std::vector<TStoredRequest> ParseStoredRequests(const TBody& body);

// 49: offline messages of enterprise friends.
struct TOfflineMessage {
  uint32_t Sender = 0;
  TDateTime Time = 0;
  std::string Text;
  uint8_t Shown = 0;
  std::string FontName;
  uint8_t FontSize = 0;
  uint32_t Colour = 0;
};
std::vector<TOfflineMessage> ParseOfflineMessages(const TBody& body);

// 51: provinces, cities and districts; 52: industries.
struct TRegionEntry {
  uint32_t Value = 0;
  uint32_t Parent = 0;
  uint32_t Own = 0;
  std::string Name;
};
struct TRegionTables {
  std::vector<TRegionEntry> Provinces, Cities, Districts;
};
TRegionTables ParseRegionTables(const TBody& body);

struct TCategoryEntry {
  uint32_t Value = 0;
  uint32_t Own = 0;
  int32_t Parent = 0;  // -1 for a top-level industry
  std::string Name;
};
std::vector<TCategoryEntry> ParseCategoryTable(const TBody& body);

// 53: 1 saved, other values failed.
uint8_t ParseTradeResult(const TBody& body);

// The typed record of a received body: what the connection reads once per frame and hands
// to the windows. 36 carries nothing; 39, 42, 45 and 50 are each an account, 37 and 40 a
// friend list, 38 and 46 one friend record.
using TReply = std::variant<std::monostate, TChatMessage, TLoginReply, std::vector<uint32_t>, TRegisterReply,
                            std::string, TWaitingMessages, std::vector<TFriendRecord>, TFriendRecord, uint32_t,
                            TFriendRequest, std::vector<TStoredRequest>, std::vector<TOfflineMessage>, TRegionTables,
                            std::vector<TCategoryEntry>, uint8_t>;

// The reader of each record type, so that a handler names only the type it expects.
template <class R>
R ReadRecord(const TBody& body);
template <> inline TChatMessage ReadRecord(const TBody& b) { return ParseChatMessage(b); }
template <> inline TLoginReply ReadRecord(const TBody& b) { return ParseLoginReply(b); }
template <> inline std::vector<uint32_t> ReadRecord(const TBody& b) { return ParseCustomerList(b); }
template <> inline TRegisterReply ReadRecord(const TBody& b) { return ParseRegisterReply(b); }
template <> inline std::string ReadRecord(const TBody& b) { return ParseCustomerLeft(b); }
template <> inline TWaitingMessages ReadRecord(const TBody& b) { return ParseWaitingMessages(b); }
template <> inline std::vector<TFriendRecord> ReadRecord(const TBody& b) { return ParseFriendList(b); }
template <> inline TFriendRecord ReadRecord(const TBody& b) { return ParseFriendRecord(b); }
template <> inline uint32_t ReadRecord(const TBody& b) { return ParseAccount(b); }
template <> inline TFriendRequest ReadRecord(const TBody& b) { return ParseFriendRequest(b); }
template <> inline std::vector<TStoredRequest> ReadRecord(const TBody& b) { return ParseStoredRequests(b); }
template <> inline std::vector<TOfflineMessage> ReadRecord(const TBody& b) { return ParseOfflineMessages(b); }
template <> inline TRegionTables ReadRecord(const TBody& b) { return ParseRegionTables(b); }
template <> inline std::vector<TCategoryEntry> ReadRecord(const TBody& b) { return ParseCategoryTable(b); }
template <> inline uint8_t ReadRecord(const TBody& b) { return ParseTradeResult(b); }

// The record of a received body, read by the reader of its protocol number; numbers without
// a body to read give std::monostate. Throws EMalformedBody when the body does not fit.
TReply ReadReply(uint8_t proto, const TBody& body);
// Throws EMalformedBody unless the body fits, and gives the record read on the way; a chat
// message (12), whose text may be long, is only checked and gives std::monostate, for
// ReadRecord to read when it is wanted.
TReply CheckReply(uint8_t proto, const TBody& body);
// The same without keeping the record: whether a body of `proto` fits its layout.
void CheckBody(uint8_t proto, const TBody& body);
