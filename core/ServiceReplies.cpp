// Readers of the server's message bodies.
#include "core/ServiceReplies.h"

#include "core/ServiceProtocol.h"
#include "platform/rtl/SysUtils.h"

namespace {
// `n` entries of `size` bytes each, every one read by `read` from its first byte.
template <class F>
auto ReadEntries(TBodyReader& r, uint64_t n, size_t size, F read) {
  r.Expect(n, size);
  std::vector<decltype(read(static_cast<const uint8_t*>(nullptr)))> v;
  v.reserve(size_t(n));
  for (uint64_t i = 0; i < n; ++i) v.push_back(read(r.Take(size)));
  return v;
}
}  // namespace

TBody TBody::OfFrame(const uint8_t* frame, int64_t held) {
  if (!frame || held < 6) throw EMalformedBody("帧头不完整");
  uint64_t len = ReadU32(frame + 2);
  if (len + 6 > uint64_t(held)) throw EMalformedBody("帧不完整");
  return TBody{frame + 6, size_t(len)};
}

namespace {
// A chat message with its texts left in the body: its text may be long, and checking it needs
// no copy.
struct TChatView {
  uint8_t OfflineFlag, Second, SenderKind;
  std::string_view Formatted, Sender;
  TDateTime Time;
};
TChatView ReadChatView(const TBody& body) {
  TBodyReader r = body.Reader();
  TChatView v{};
  v.OfflineFlag = r.U8();
  v.Second = r.U8();
  v.SenderKind = r.U8();
  v.Formatted = r.LongTextView();
  v.Sender = r.WireStringView();
  v.Time = r.DateTime();
  return v;
}
}  // namespace

TChatMessage ParseChatMessage(const TBody& body) {
  TChatView v = ReadChatView(body);
  return TChatMessage{v.OfflineFlag, v.Second, v.SenderKind, std::string(v.Formatted), std::string(v.Sender), v.Time};
}

TFormattedText ParseFormattedText(const std::string& formatted, bool colourAsText) {
  TBodyReader r(formatted);
  TFormattedText f;
  f.FontSize = r.U8();
  f.FontName = r.WireString();
  if (colourAsText) {
    f.ColourText = r.WireString();
    f.Colour = uint32_t(sys::StrToIntDef(f.ColourText, 0));
  } else {
    f.Colour = r.U32();
  }
  f.Text = r.LongText();
  return f;
}

std::string BuildFormattedText(uint8_t fontSize, const std::string& fontName, uint32_t colour,
                               const std::string& text) {
  return TBodyWriter().U8(fontSize).WireString(fontName).U32(colour).LongText(text).Take();
}

TLoginReply ParseLoginReply(const TBody& body) {
  TBodyReader r = body.Reader();
  TLoginReply l;
  l.Result = r.U8();
  l.OwnName = r.WireString();
  l.Value = r.U32();
  l.UpdateFlag = r.U8();
  l.SiteUrl = r.WireString();
  l.NewestVersion = r.WireString();
  l.Company = r.WireString();
  l.Phone = r.WireString();
  l.Fax = r.WireString();
  l.Email = r.WireString();
  l.Extra = r.WireString();
  return l;
}

std::vector<uint32_t> ParseCustomerList(const TBody& body) {
  TBodyReader r = body.Reader();
  return ReadEntries(r, r.U8(), 4, ReadU32);
}

TRegisterReply ParseRegisterReply(const TBody& body) {
  TBodyReader r = body.Reader();
  TRegisterReply g;
  g.Result = r.U8();
  g.NewAccount = r.U32();
  g.Account = r.U32();
  g.Text = r.WireString();
  return g;
}

std::string ParseCustomerLeft(const TBody& body) { return body.Reader().WireString(); }

TWaitingMessages ParseWaitingMessages(const TBody& body) {
  namespace w = layout::waiting_msg;
  TBodyReader r = body.Reader();
  TWaitingMessages m;
  m.Flag = r.U8();
  m.Items = ReadEntries(r, r.U8(), w::kSize, [](const uint8_t* e) {
    return TWaitingMessage{ReadPadded(e + w::kText, w::kTextSize), ReadPadded(e + w::kSender, w::kSenderSize),
                           ReadDateTime(e + w::kTime)};
  });
  return m;
}

std::vector<TFriendRecord> ParseFriendList(const TBody& body) {
  TBodyReader r = body.Reader();
  return ReadEntries(r, r.U8(), layout::friend_rec::kSize, [](const uint8_t* e) { return TFriendRecord(e); });
}

TFriendRecord ParseFriendRecord(const TBody& body) {
  TBodyReader r = body.Reader();
  return TFriendRecord(r.Take(layout::friend_rec::kSize));
}

uint32_t ParseAccount(const TBody& body) { return body.Reader().U32(); }

TFriendRequest ParseFriendRequest(const TBody& body) {
  TBodyReader r = body.Reader();
  TFriendRequest q;
  q.Text = r.WireString();
  q.Requester = TFriendRecord(r.Take(layout::friend_rec::kSize));
  return q;
}

std::vector<TStoredRequest> ParseStoredRequests(const TBody& body) {
  namespace s = layout::stored_req;
  TBodyReader r = body.Reader();
  return ReadEntries(r, r.U8(), s::kSize, [](const uint8_t* e) {
    TStoredRequest q;
    q.Requester = ReadU32(e + s::kRequester);
    q.Time = ReadDateTime(e + s::kTime);
    q.Text = ReadFixed(e + s::kText, s::kTextMax);
    q.Record = TFriendRecord(e + s::kRecord);
    std::copy(e, e + s::kSize, q.Raw.begin());
    return q;
  });
}

std::vector<TOfflineMessage> ParseOfflineMessages(const TBody& body) {
  namespace o = layout::offline_msg;
  TBodyReader r = body.Reader();
  return ReadEntries(r, r.U8(), o::kSize, [](const uint8_t* e) {
    TOfflineMessage m;
    m.Sender = ReadU32(e + o::kSender);
    m.Time = ReadDateTime(e + o::kTime);
    m.Text = ReadPadded(e + o::kText, o::kTextSize);
    m.Shown = e[o::kShown];
    m.FontName = ReadPadded(e + o::kFontName, o::kFontNameSize);
    m.FontSize = e[o::kFontSize];
    m.Colour = ReadU32(e + o::kColour);
    return m;
  });
}

static std::vector<TRegionEntry> ReadRegionTable(TBodyReader& r) {
  namespace g = layout::region;
  return ReadEntries(r, r.U32(), g::kSize, [](const uint8_t* e) {
    return TRegionEntry{ReadU32(e + g::kValue), ReadU32(e + g::kParent), ReadU32(e + g::kOwn),
                        ReadFixed(e + g::kName, g::kNameMax)};
  });
}

TRegionTables ParseRegionTables(const TBody& body) {
  TBodyReader r = body.Reader();
  TRegionTables t;
  t.Provinces = ReadRegionTable(r);
  t.Cities = ReadRegionTable(r);
  t.Districts = ReadRegionTable(r);
  return t;
}

std::vector<TCategoryEntry> ParseCategoryTable(const TBody& body) {
  namespace c = layout::category;
  TBodyReader r = body.Reader();
  return ReadEntries(r, r.U32(), c::kSize, [](const uint8_t* e) {
    return TCategoryEntry{ReadU32(e + c::kValue), ReadU32(e + c::kOwn), int32_t(ReadU32(e + c::kParent)),
                          ReadFixed(e + c::kName, c::kNameMax)};
  });
}

uint8_t ParseTradeResult(const TBody& body) { return body.Reader().U8(); }

namespace {
template <class R>
TReply ReadAs(const TBody& body) {
  return ReadRecord<R>(body);
}
void CheckChat(const TBody& body) { ReadChatView(body); }
struct TReader {
  uint8_t Proto;
  TReply (*Read)(const TBody&);
  void (*Check)(const TBody&) = nullptr;  // set where the record is read only when asked for
};
// Each received number and its reader; 36 and 48 carry nothing to read.
const TReader kReaders[] = {
    {proto::ChatMsg, ReadAs<TChatMessage>, CheckChat},
    {proto::Login, ReadAs<TLoginReply>},
    {proto::CustomerList, ReadAs<std::vector<uint32_t>>},
    {proto::Register, ReadAs<TRegisterReply>},
    {proto::CustomerLeft, ReadAs<std::string>},
    {proto::CustomerOffLineMsg, ReadAs<TWaitingMessages>},
    {proto::FriendList, ReadAs<std::vector<TFriendRecord>>},
    {proto::FriendOnline, ReadAs<TFriendRecord>},
    {proto::FriendOffline, ReadAs<uint32_t>},
    {proto::FindFriend, ReadAs<std::vector<TFriendRecord>>},
    {proto::AlreadyFriend, ReadAs<uint32_t>},
    {proto::FriendRequest, ReadAs<TFriendRequest>},
    {proto::FriendRefuse, ReadAs<uint32_t>},
    {proto::AddFriendToList, ReadAs<TFriendRecord>},
    {proto::OffLineFriendRequests, ReadAs<std::vector<TStoredRequest>>},
    {proto::EnterpriseOffLineMsg, ReadAs<std::vector<TOfflineMessage>>},
    {proto::DeleteFriend, ReadAs<uint32_t>},
    {proto::StateInfo, ReadAs<TRegionTables>},
    {proto::CategoryInfo, ReadAs<std::vector<TCategoryEntry>>},
    {proto::TradeSave, ReadAs<uint8_t>},
};
}  // namespace

TReply ReadReply(uint8_t proto, const TBody& body) {
  for (const TReader& r : kReaders)
    if (r.Proto == proto) return r.Read(body);
  return std::monostate{};
}

TReply CheckReply(uint8_t proto, const TBody& body) {
  for (const TReader& r : kReaders)
    if (r.Proto == proto) {
      if (!r.Check) return r.Read(body);
      r.Check(body);
      return std::monostate{};
    }
  return std::monostate{};
}

void CheckBody(uint8_t proto, const TBody& body) { CheckReply(proto, body); }
