// Runs every reader the client has for a body of a given protocol number, the way the
// connection does: the cheap check first, then the typed reader and what the handlers read
// from its result (formatted texts, friend record fields, dates as text). A body the check
// lets through must read without an error; a body it refuses ends there.
#pragma once
#include <cstdint>
#include <cstdlib>

#include "core/ServiceReplies.h"
#include "platform/rtl/DateTime.h"

namespace fuzzing {

inline void ShowDate(TDateTime t) { (void)dt::DateTimeToStr(t); }

inline void ShowRecord(const TFriendRecord& f) {
  (void)f.CompanyName(); (void)f.NumberText(); (void)f.Number(); (void)f.NickName();
  (void)f.WebAddress(); (void)f.Email(); (void)f.Flags();
}

inline void ShowFormatted(const std::string& formatted) {
  for (bool asText : {false, true}) {
    try {
      (void)ParseFormattedText(formatted, asText);
    } catch (const EMalformedBody&) {
    }
  }
}

inline void ReadTyped(uint8_t proto, const TBody& body) {
  switch (proto) {
    case 12: {
      TChatMessage m = ParseChatMessage(body);
      ShowFormatted(m.Formatted);
      ShowDate(m.Time);
      break;
    }
    case 27: (void)ParseLoginReply(body); break;
    case 28: (void)ParseCustomerList(body); break;
    case 32: (void)ParseRegisterReply(body); break;
    case 33: (void)ParseCustomerLeft(body); break;
    case 35:
      for (const auto& w : ParseWaitingMessages(body).Items) ShowDate(w.Time);
      break;
    case 37: case 40:
      for (const auto& f : ParseFriendList(body)) ShowRecord(f);
      break;
    case 38: case 46: ShowRecord(ParseFriendRecord(body)); break;
    case 39: case 42: case 45: case 50: (void)ParseAccount(body); break;
    case 43: ShowRecord(ParseFriendRequest(body).Requester); break;
    case 47:
      for (const auto& q : ParseStoredRequests(body)) {
        ShowRecord(q.Record);
        ShowDate(q.Time);
      }
      break;
    case 49:
      for (const auto& m : ParseOfflineMessages(body)) ShowDate(m.Time);
      break;
    case 51: (void)ParseRegionTables(body); break;
    case 52: (void)ParseCategoryTable(body); break;
    case 53: (void)ParseTradeResult(body); break;
    default: break;
  }
}

inline void ReadReply(uint8_t proto, const TBody& body) {
  try {
    CheckBody(proto, body);
  } catch (const EMalformedBody&) {
    return;
  }
  // The check and the reader must agree; a reader that throws after the check passed
  // would reach a handler with a half-read body.
  try {
    ReadTyped(proto, body);
  } catch (const EMalformedBody&) {
    std::abort();
  }
}

}  // namespace fuzzing
