// Cutting the received byte stream into frames: splits at every byte, several frames in one
// read, bytes before the start byte, oversized announcements, and a sink that is entered
// again while it reads a frame.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/FrameBuffer.h"
#include "tools/serviceserver/ServiceBodies.h"

namespace {

struct RecordingSink : IFrameSink {
  std::vector<std::string> frames;
  std::vector<std::pair<uint8_t, uint32_t>> oversized;
  std::function<void(const uint8_t*, size_t)> during;  // runs inside OnFrame
  void OnFrame(const uint8_t* frame, size_t size) override {
    std::string copy(reinterpret_cast<const char*>(frame), size);
    if (during) during(frame, size);
    // The frame's bytes must be unchanged by whatever ran meanwhile.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(frame), size), copy);
    frames.push_back(copy);
  }
  void OnOversizedFrame(uint8_t proto, uint32_t length) override { oversized.emplace_back(proto, length); }
};

void Feed(TFrameBuffer& b, const std::string& bytes) { b.Append(bytes.data(), bytes.size()); }

}  // namespace

TEST(FrameBuffer, AFrameSplitAtAnyByteIsDispatchedOnceWhole) {
  const std::string frame = stub::Frame(proto::FriendOffline, "\x11\x27\x00\x00" "tail");
  for (size_t a = 0; a <= frame.size(); ++a)
    for (size_t b = a; b <= frame.size(); ++b) {
      RecordingSink sink;
      TFrameBuffer buf(sink);
      Feed(buf, frame.substr(0, a));
      Feed(buf, frame.substr(a, b - a));
      if (b < frame.size()) {
        EXPECT_TRUE(sink.frames.empty()) << a << "," << b;
      }
      Feed(buf, frame.substr(b));
      ASSERT_EQ(sink.frames.size(), 1u) << a << "," << b;
      EXPECT_EQ(sink.frames[0], frame);
      EXPECT_EQ(buf.Held(), 0u);
    }
}

TEST(FrameBuffer, CutsFramesInArrivalOrderAndDropsWhatPrecedesAStartByte) {
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> frames;
    size_t held;
  };
  const std::string a = stub::Frame(proto::ChatMsg, "abc"), b = stub::Frame(proto::Login, ""), c = stub::Frame(proto::TradeSave, "\x01");
  const Case cases[] = {
      {"two frames in one read", a + b, {a, b}, 0},
      {"three frames and half of a fourth", a + b + c + a.substr(0, 4), {a, b, c}, 4},
      {"junk before the start byte", "\x01\x02zz\xFF" + a, {a}, 0},
      {"junk between frames", a + std::string("\x00\x13junk", 6) + c, {a, c}, 0},
      {"junk without a start byte is dropped at once", "no start here", {}, 0},
      {"a first read of one byte into an empty buffer", "\x12", {}, 0},
      {"a lone start byte waits", a + "\x64", {a}, 1},
      {"an empty body is a 6-byte frame", b + b, {b, b}, 0},
  };
  for (const Case& k : cases) {
    RecordingSink sink;
    TFrameBuffer buf(sink);
    Feed(buf, k.input);
    EXPECT_EQ(sink.frames, k.frames) << k.name;
    EXPECT_EQ(buf.Held(), k.held) << k.name;
  }
}

TEST(FrameBuffer, AnOversizedAnnouncementClearsTheBufferAndIsReported) {
  RecordingSink sink;
  TFrameBuffer buf(sink);
  std::string huge = "\x64\x25" + std::string("\x01\x00\x10\x00", 4);  // 0x100001 bytes
  Feed(buf, stub::Frame(proto::ChatMsg, "x") + huge + "more bytes");
  EXPECT_EQ(sink.frames.size(), 1u);
  ASSERT_EQ(sink.oversized.size(), 1u);
  EXPECT_EQ(sink.oversized[0], std::make_pair(uint8_t(0x25), uint32_t(0x100001)));
  EXPECT_EQ(buf.Held(), 0u);
  // The exact cap is still a frame.
  std::string atCap = std::string("\x64\x0C", 2) + std::string("\x00\x00\x10\x00", 4) + std::string(kMaxFrameBody, 'x');
  Feed(buf, atCap);
  EXPECT_EQ(sink.frames.size(), 2u);
}

TEST(FrameBuffer, ASinkEnteredAgainSeesEachFrameOnceAndKeepsItsBytes) {
  RecordingSink sink;
  TFrameBuffer buf(sink);
  const std::string first = stub::Frame(proto::FriendList, std::string(3000, 'a'));
  const std::string second = stub::Frame(proto::FriendOnline, std::string(5000, 'b'));  // forces the area to grow
  const std::string third = stub::Frame(proto::FriendOffline, "cccc");
  bool nested = false;
  sink.during = [&](const uint8_t* frame, size_t) {
    if (frame[1] != 37 || nested) return;
    nested = true;  // a handler pumping messages: the next read arrives inside it
    Feed(buf, second + third.substr(0, 3));
    EXPECT_EQ(buf.Held(), 3u);
  };
  Feed(buf, first);
  Feed(buf, third.substr(3));
  EXPECT_EQ(sink.frames, (std::vector<std::string>{second, first, third}));
}

TEST(FrameBuffer, AThrowingSinkDoesNotSeeItsFrameAgain) {
  RecordingSink sink;
  TFrameBuffer buf(sink);
  int calls = 0;
  sink.during = [&](const uint8_t*, size_t) {
    if (++calls == 1) throw std::runtime_error("handler failed");
  };
  const std::string a = stub::Frame(proto::ChatMsg, "a"), b = stub::Frame(proto::ChatMsg, "b");
  EXPECT_THROW(Feed(buf, a + b), std::runtime_error);
  Feed(buf, "");
  EXPECT_EQ(sink.frames, (std::vector<std::string>{b}));
}

TEST(FrameBuffer, ClearDuringASinkCallDropsWhatFollows) {
  RecordingSink sink;
  TFrameBuffer buf(sink);
  sink.during = [&](const uint8_t* frame, size_t) {
    if (frame[1] == proto::ChatMsg) {
      buf.Clear();
      Feed(buf, stub::Frame(proto::CustomerList, "new"));  // bytes of a new session, after the clear
    }
  };
  Feed(buf, stub::Frame(proto::ChatMsg, "old") + stub::Frame(proto::Login, "stale"));
  EXPECT_EQ(sink.frames, (std::vector<std::string>{stub::Frame(proto::CustomerList, "new"), stub::Frame(proto::ChatMsg, "old")}));
}

TEST(FrameBuffer, AFrameWholeInOneReadIsHandedOverWhereItLies) {
  RecordingSink sink;
  TFrameBuffer buf(sink);
  const std::string a = stub::Frame(proto::ChatMsg, "abc"), b = stub::Frame(proto::Login, "xy");
  const std::string read = "junk" + a + b + b.substr(0, 3);
  std::vector<const uint8_t*> at;
  sink.during = [&](const uint8_t* frame, size_t) { at.push_back(frame); };
  Feed(buf, read);
  const auto* base = reinterpret_cast<const uint8_t*>(read.data());
  EXPECT_EQ(at, (std::vector<const uint8_t*>{base + 4, base + 4 + a.size()}));
  EXPECT_EQ(buf.Held(), 3u);  // the start of a frame the next read completes is kept
  Feed(buf, b.substr(3));
  EXPECT_EQ(sink.frames, (std::vector<std::string>{a, b, b}));
}

TEST(FrameBuffer, AReadArrivingInsideAFrameComesAfterTheRestOfTheReadItInterrupts) {
  RecordingSink sink;
  TFrameBuffer buf(sink);
  const std::string a = stub::Frame(proto::ChatMsg, "a"), b = stub::Frame(proto::Login, "b"),
                    c = stub::Frame(proto::TradeSave, "c");
  bool nested = false;
  std::vector<std::string> started;
  sink.during = [&](const uint8_t* frame, size_t size) {
    started.emplace_back(reinterpret_cast<const char*>(frame), size);
    if (nested) return;
    nested = true;
    Feed(buf, c);
  };
  Feed(buf, a + b);  // a is cut in place while b is still in the read
  EXPECT_EQ(started, (std::vector<std::string>{a, b, c}));
  EXPECT_EQ(buf.Held(), 0u);
}

// Mend: a frame whose header was split over two reads got no room for its body when the
// header became whole, so every later piece moved the bytes gathered so far.
TEST(FrameBuffer, MendAFrameWhoseHeaderArrivesInPiecesIsGatheredWithoutMoves) {
  const std::string frame = stub::Frame(proto::FriendList, std::string(200000, 'f'));
  for (size_t first : {size_t(6), size_t(3)}) {  // header whole in the first read, or split
    RecordingSink sink;
    TFrameBuffer buf(sink);
    Feed(buf, frame.substr(0, first));
    Feed(buf, frame.substr(first, 1000 - first));
    const uint8_t* area = buf.Data();
    std::vector<const uint8_t*> moved;
    for (size_t at = 1000; at < frame.size() - 1000; at += 1000) {
      Feed(buf, frame.substr(at, 1000));
      if (buf.Data() != area) moved.push_back(area = buf.Data());
    }
    EXPECT_TRUE(moved.empty()) << "first read " << first << ": moved " << moved.size() << " times";
    Feed(buf, frame.substr(frame.size() - 1000 - (frame.size() % 1000)));
    ASSERT_EQ(sink.frames.size(), 1u) << first;
    EXPECT_TRUE(sink.frames[0] == frame) << first;
  }
}
