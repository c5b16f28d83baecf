// Server-side layouts of every reply body.
#include "tools/serviceserver/ServiceBodies.h"

#include <algorithm>
#include <string>

#include "core/WireFormat.h"

namespace stub {

namespace {
// A one-byte count and that many entries, each laid out by `put`; at most 255 of them.
template <class T, class F>
std::string Counted(TBodyWriter w, const std::vector<T>& v, F put) {
  size_t n = std::min<size_t>(v.size(), 255);
  w.U8(uint8_t(n));
  for (size_t i = 0; i < n; ++i) put(w, v[i]);
  return w.Take();
}
}  // namespace

TFriendRecord SampleFriend(uint32_t number, std::string_view company, std::string_view nick, uint8_t state) {
  TFriendRecord r;
  r.SetCompanyName(std::string(company) + std::to_string(number));
  r.SetNumberText(std::to_string(number));
  r.SetNumber(number);
  r.SetNickName(std::string(nick));
  r.SetWebAddress("http://w.example");
  r.SetEmail("e@w.example");
  r.SetState(state);
  r.SetFlags("01");
  return r;
}

std::string Frame(uint8_t proto, std::string_view body) {
  TBodyWriter w;
  w.U8(0x64).U8(proto).U32(uint32_t(body.size())).Bytes(body.data(), body.size());
  return w.Take();
}

std::string ChatBody(uint8_t offlineFlag, uint8_t senderKind, std::string_view formatted, std::string_view sender,
                     TDateTime time) {
  return TBodyWriter().U8(offlineFlag).U8(0).U8(senderKind).LongText(formatted).WireString(sender).DateTime(time).Take();
}

std::string LoginReplyBody(const TLoginReply& r) {
  TBodyWriter w;
  w.U8(r.Result).WireString(r.OwnName).U32(r.Value).U8(r.UpdateFlag).WireString(r.SiteUrl);
  w.WireString(r.NewestVersion).WireString(r.Company).WireString(r.Phone).WireString(r.Fax);
  w.WireString(r.Email).WireString(r.Extra);
  return w.Take();
}

std::string CustomerListBody(const std::vector<uint32_t>& accounts) {
  return Counted(TBodyWriter(), accounts, [](TBodyWriter& w, uint32_t a) { w.U32(a); });
}

std::string RegisterReplyBody(const TRegisterReply& r) {
  return TBodyWriter().U8(r.Result).U32(r.NewAccount).U32(r.Account).WireString(r.Text).Take();
}

std::string CustomerLeftBody(std::string_view account) { return TBodyWriter().WireString(account).Take(); }

std::string WaitingMessagesBody(uint8_t flag, const std::vector<TWaitingMessage>& m) {
  namespace l = layout::waiting_msg;
  return Counted(TBodyWriter().U8(flag), m, [](TBodyWriter& w, const TWaitingMessage& e) {
    w.Padded(e.Text, l::kTextSize).Padded(e.Sender, l::kSenderSize).DateTime(e.Time);
  });
}

std::string FriendListBody(const std::vector<TFriendRecord>& records) {
  return Counted(TBodyWriter(), records,
                 [](TBodyWriter& w, const TFriendRecord& r) { w.Bytes(r.Data(), layout::friend_rec::kSize); });
}

std::string FriendRecordBody(const TFriendRecord& record) {
  return std::string(reinterpret_cast<const char*>(record.Data()), layout::friend_rec::kSize);
}

std::string AccountBody(uint32_t account) { return TBodyWriter().U32(account).Take(); }

std::string FriendRequestBody(std::string_view text, const TFriendRecord& requester) {
  return TBodyWriter().WireString(text).Bytes(requester.Data(), layout::friend_rec::kSize).Take();
}

std::string StoredRequestsBody(const std::vector<TStoredRequest>& requests) {
  namespace l = layout::stored_req;
  return Counted(TBodyWriter(), requests, [](TBodyWriter& w, const TStoredRequest& q) {
    w.U32(q.Requester).DateTime(q.Time).FixedString(q.Text, l::kTextMax);
    w.Bytes(q.Record.Data(), layout::friend_rec::kSize);
  });
}

std::string OfflineMessagesBody(const std::vector<TOfflineMessage>& messages) {
  namespace l = layout::offline_msg;
  return Counted(TBodyWriter(), messages, [](TBodyWriter& w, const TOfflineMessage& m) {
    w.U32(m.Sender).Zeros(4).DateTime(m.Time).Padded(m.Text, l::kTextSize).U8(m.Shown);
    w.Padded(m.FontName, l::kFontNameSize).Zeros(1).U8(m.FontSize).Zeros(3).U32(m.Colour);
  });
}

std::string RegionTablesBody(const TRegionTables& tables) {
  TBodyWriter w;
  for (const auto* table : {&tables.Provinces, &tables.Cities, &tables.Districts}) {
    w.U32(uint32_t(table->size()));
    for (const TRegionEntry& e : *table)
      w.U32(e.Value).U32(e.Parent).U32(e.Own).FixedString(e.Name, layout::region::kNameMax);
  }
  return w.Take();
}

std::string CategoryTableBody(const std::vector<TCategoryEntry>& entries) {
  TBodyWriter w;
  w.U32(uint32_t(entries.size()));
  for (const TCategoryEntry& e : entries)
    w.U32(e.Value).U32(e.Own).U32(uint32_t(e.Parent)).FixedString(e.Name, layout::category::kNameMax);
  return w.Take();
}

std::string TradeResultBody(uint8_t result) { return TBodyWriter().U8(result).Take(); }

}  // namespace stub
