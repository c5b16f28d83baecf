// A million random and mutated frames through the receive path, with a fixed seed: nothing
// crashes, every handler can read the body it is given, and valid frames after the garbage
// are still dispatched.
#include <random>

#include "core/uHelpers.h"
#include "tests/net/NetFixture.h"

namespace {

const uint32_t kMarker = 0xFEEDBEEF;
// The last bodies of ValidBodies(): their handlers log a line before and after the event.
const uint32_t kLoggingBodies = 3;

// Bodies of every protocol number the client reads, from the server's builders.
std::vector<std::pair<uint8_t, std::string>> ValidBodies() {
  using namespace stub;
  TFriendRecord r;
  r.SetNumber(10002);
  r.SetNickName("二号");
  TStoredRequest q;
  q.Text = "请加我";
  q.Record = r;
  return {
      {proto::ChatMsg, ChatBody(0, 1, BuildFormattedText(10, "宋体", 0, "你好"), "10002", 1.5)},
      {proto::ChatMsg, ChatBody(0, 0, TBodyWriter().U8(9).WireString("f").WireString("255").LongText("hi").Take(), "7", 2.5)},
      {proto::Login, LoginReplyBody({0, "n", 1, 0, "http://x", "1", "c", "p", "f", "e", ""})},
      {proto::CustomerList, CustomerListBody({1, 2, 3})},
      {proto::Register, RegisterReplyBody({0, 1, 2, "ok"})},
      {proto::CustomerLeft, CustomerLeftBody("12")},
      {proto::CustomerOffLineMsg, WaitingMessagesBody(1, {{"t", "s", 1}})},
      {proto::KickedOff, ""},
      {proto::FriendList, FriendListBody({r, r})},
      {proto::FriendOnline, FriendRecordBody(r)},
      {proto::FindFriend, FriendListBody({r})},
      {proto::AlreadyFriend, AccountBody(3)},
      {proto::FriendRequest, FriendRequestBody("hi", r)},
      {proto::FriendRefuse, AccountBody(4)},
      {proto::AddFriendToList, FriendRecordBody(r)},
      {proto::OffLineFriendRequests, StoredRequestsBody({q})},
      {proto::Ignored, "x"},
      {proto::EnterpriseOffLineMsg, OfflineMessagesBody({{1, 2, "t", 0, "f", 9, 0}})},
      {proto::DeleteFriend, AccountBody(5)},
      {proto::StateInfo, RegionTablesBody({{{1, 0, 1, "a"}}, {{1, 1, 2, "b"}}, {}})},
      {proto::CategoryInfo, CategoryTableBody({{1, 1, -1, "c"}})},
      {proto::TradeSave, TradeResultBody(0)},
  };
}

// Reads each body as a window would, with the reader of its number.
class Reader {
 public:
  explicit Reader(TServiceClient& c) {
    for (int p = 0; p < 256; ++p)
      if (TPacketEvent* e = c.EventFor(uint8_t(p))) *e = TPacketEvent(this, &Reader::Read);
    c.OnRegisterReply = TRegisterEvent([this](TObject*, uint8_t, uint32_t, const std::string&) { ++events; });
  }
  void Read(TObject*, const uint8_t* frame, int32_t held) {
    ++events;
    TBody body = TBody::OfFrame(frame, held);
    CheckBody(frame[1], body);  // throws, and so fails the test, if a bad body got through
    if (frame[1] == proto::FriendOffline && body.Size == 4 && ParseAccount(body) == kMarker) ++markers;
    if (frame[1] == proto::ChatMsg) {
      TChatMessage m = ParseChatMessage(body);
      try {
        ParseFormattedText(m.Formatted, m.SenderKind == 0);
      } catch (const EMalformedBody&) {
        ++badFormatted;  // the window logs it; the body itself was sound
      }
    }
  }
  long events = 0, markers = 0, badFormatted = 0;
};

}  // namespace

TEST(ReceiveFuzz, AMillionRandomAndMutatedFramesLeaveTheStreamUsable) {
  testing_support::TempDir dir;
  SetErrorLogPath(dir.File("fuzz.log"));
  TServiceClient client("127.0.0.1", "1");
  Reader reader(client);
  const auto valid = ValidBodies();
  std::mt19937 rng(20240611);
  auto pick = [&](uint32_t n) { return uint32_t(rng() % n); };
  auto junk = [&](size_t n) {  // bytes without a start byte
    std::string s(n, '\0');
    for (char& c : s) {
      c = char(rng());
      if (c == 0x64) c = 0x65;
    }
    return s;
  };
  auto mutate = [&](std::string body) {
    switch (pick(5)) {
      case 0:  // flip some bytes
        for (int i = 0, n = 1 + pick(4); i < n && !body.empty(); ++i) body[pick(uint32_t(body.size()))] ^= char(1 + pick(255));
        break;
      case 1:  // cut it short
        body.resize(pick(uint32_t(body.size()) + 1));
        break;
      case 2:  // claim more entries
        if (!body.empty()) body[0] = char(0xFF);
        break;
      case 3:  // trailing bytes
        body += junk(pick(20));
        break;
      default:  // an embedded length near 2^32
        if (body.size() >= 7) body.replace(3, 4, "\xF0\xFF\xFF\xFF");
        break;
    }
    return body;
  };

  const long kFrames = 1000000;
  long frames = 0, markersSent = 0;
  std::string stream;
  auto flush = [&] {  // hand the stream over in reads of random size
    for (size_t at = 0; at < stream.size();) {
      size_t n = std::min<size_t>(stream.size() - at, 1 + pick(3000));
      client.ReceiveBytes(stream.data() + at, n);
      at += n;
    }
    stream.clear();
  };
  for (long i = 0; frames < kFrames; ++i) {
    // Every frame that cannot be used writes an error-log line, and so do sound trade
    // tables and results, which costs far more than the cutting itself: most frames are
    // sound ones that log nothing, and about one in eight is damaged.
    uint32_t kind = pick(100);
    if (kind < 10) {
      const auto& [proto, body] = valid[pick(uint32_t(valid.size()))];
      stream += stub::Frame(proto, mutate(body));
      ++frames;
    } else if (kind < 85) {
      const auto& [proto, body] = valid[pick(uint32_t(valid.size() - kLoggingBodies))];
      stream += stub::Frame(proto, body);
      ++frames;
    } else if (kind < 87) {
      std::string body = junk(pick(64));
      uint8_t proto = uint8_t(pick(256));
      if (proto == proto::FriendOffline) proto = proto::FindFriend;
      stream += stub::Frame(proto, body);
      ++frames;
    } else if (kind < 99) {
      stream += junk(1 + pick(40));
    } else {
      // an announcement beyond the cap: the connection would close; the next read is clean
      flush();
      std::string huge = stub::Frame(proto::ChatMsg, "").substr(0, 2) + std::string("\x00\x00\x20\x00", 4);
      client.ReceiveBytes(huge.data(), huge.size());
      EXPECT_EQ(client.RecvBuffer().Held(), 0u);
      ++frames;
    }
    if (i % 1000 == 999) {
      stream += stub::Frame(proto::FriendOffline, stub::AccountBody(kMarker));
      ++markersSent;
      flush();
    }
  }
  flush();
  EXPECT_EQ(reader.markers, markersSent);
  EXPECT_GT(reader.events, kFrames / 5);
  EXPECT_EQ(client.RecvBuffer().Held(), 0u);
  SetErrorLogPath("");
}
