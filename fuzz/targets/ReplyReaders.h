// Reads a body of a given protocol number the way the connection does (ReadReply), then
// what the handlers read from the record (formatted texts, friend record fields, dates as
// text). A body the reader refuses ends there.
#pragma once
#include <cstdint>
#include <variant>

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

// What a handler reads from each record type; the rest are read whole by ReadReply.
struct ShowReply {
  void operator()(const TChatMessage& m) const {
    ShowFormatted(m.Formatted);
    ShowDate(m.Time);
  }
  void operator()(const TWaitingMessages& w) const {
    for (const auto& i : w.Items) ShowDate(i.Time);
  }
  void operator()(const std::vector<TFriendRecord>& list) const {
    for (const auto& f : list) ShowRecord(f);
  }
  void operator()(const TFriendRecord& f) const { ShowRecord(f); }
  void operator()(const TFriendRequest& q) const { ShowRecord(q.Requester); }
  void operator()(const std::vector<TStoredRequest>& list) const {
    for (const auto& q : list) {
      ShowRecord(q.Record);
      ShowDate(q.Time);
    }
  }
  void operator()(const std::vector<TOfflineMessage>& list) const {
    for (const auto& m : list) ShowDate(m.Time);
  }
  template <class R>
  void operator()(const R&) const {}
};

inline void ReadReply(uint8_t proto, const TBody& body) {
  TReply record;
  try {
    record = ::ReadReply(proto, body);
  } catch (const EMalformedBody&) {
    return;
  }
  std::visit(ShowReply{}, record);
}

}  // namespace fuzzing
