// bench_net: the receive path (append, cut into frames, check the body, fire the event) fed
// in 64 KiB reads as the socket delivers them, beside a plain memcpy of the same bytes in the
// same reads into an area of one frame and one read, measured in the same run: the least a
// path that gathers each frame must do. Targets: time linear in the bytes, large frames
// within 2x of memcpy, at least 2 million small frames per second.
#include "bench/support/BenchTimer.h"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/uSocketSvrClient.h"
#include "platform/rtl/Thread.h"
#include "tools/serviceserver/ServiceBodies.h"

namespace {

constexpr size_t kRead = 64 * 1024;

template <class F>
double Seconds(F run) {
  return SecondsPerRun(run, 0.5);
}

// A stream of `count` copies of `frame`.
std::string Stream(const std::string& frame, size_t count) {
  std::string s;
  s.reserve(frame.size() * count);
  for (size_t i = 0; i < count; ++i) s += frame;
  return s;
}

struct Result {
  double path, copy;  // seconds per pass
  long frames;
};

// The stream of frames of `frameSize` bytes through the client's receive path, and through
// memcpy, in reads of kRead.
Result Measure(TServiceClient& client, const std::string& stream, size_t frameSize, long& dispatched) {
  // An area as big as the one the path gathers a frame in: copies into a smaller one would
  // stay in a cache level the path cannot use.
  std::string target(frameSize + kRead, '\0');
  volatile char sink = 0;
  double copy = Seconds([&] {
    size_t to = 0;
    for (size_t at = 0; at < stream.size(); at += kRead) {
      size_t n = std::min(kRead, stream.size() - at);
      if (to + n > target.size()) to = 0;
      std::memcpy(target.data() + to, stream.data() + at, n);
      sink = sink + target[to + n / 2];
      to += n;
    }
  });
  dispatched = 0;
  long passes = 0;
  double path = Seconds([&] {
    for (size_t at = 0; at < stream.size(); at += kRead)
      client.ReceiveBytes(stream.data() + at, std::min(kRead, stream.size() - at));
    ++passes;
  });
  return {path, copy, dispatched / passes};
}

void Report(const char* name, const std::string& stream, const Result& r) {
  double mb = double(stream.size()) / 1e6;
  std::printf("%-34s %8.1f MB  path %8.1f MB/s  memcpy %8.1f MB/s  path/memcpy time %5.2fx  %10.0f frames/s\n",
              name, mb, mb / r.path, mb / r.copy, r.path / r.copy, double(r.frames) / r.path);
}

}  // namespace

int main() {
  TThread::InitMainThread();
  TServiceClient client("127.0.0.1", "1");
  long dispatched = 0;
  TPacketEvent count([&](TObject*, const uint8_t*, int32_t) { ++dispatched; });
  client.OnChatMsg = count;
  client.OnFriendOffline = count;

  // Large frames: chat messages with a 256 KiB text, which the body check reads whole.
  std::string big = stub::Frame(12, stub::ChatBody(0, 1, std::string(256 * 1024, 'x'), "10002", 1.0));
  // Small frames: a friend going offline, 10 bytes each.
  std::string small = stub::Frame(39, stub::AccountBody(10002));

  std::string large1 = Stream(big, 16), large4 = Stream(big, 64);
  std::string small1 = Stream(small, 500000), small4 = Stream(small, 2000000);
  Result l1 = Measure(client, large1, big.size(), dispatched), l4 = Measure(client, large4, big.size(), dispatched);
  Result s1 = Measure(client, small1, small.size(), dispatched), s4 = Measure(client, small4, small.size(), dispatched);

  Report("large frames (256 KiB), 16", large1, l1);
  Report("large frames (256 KiB), 64", large4, l4);
  Report("small frames (10 B), 500000", small1, s1);
  Report("small frames (10 B), 2000000", small4, s4);
  double largeGrowth = (l4.path / large4.size()) / (l1.path / large1.size());
  double smallGrowth = (s4.path / small4.size()) / (s1.path / small1.size());
  std::printf("time per byte at 4x the bytes: large %.2fx, small %.2fx (linear: about 1)\n", largeGrowth, smallGrowth);
  double largeRatio = l4.path / l4.copy, smallRate = double(s4.frames) / s4.path;
  std::printf("target large frames within 2x of memcpy: %s (%.2fx)\n", largeRatio <= 2 ? "met" : "NOT met", largeRatio);
  std::printf("target 2 million small frames/s: %s (%.0f)\n", smallRate >= 2e6 ? "met" : "NOT met", smallRate);
  return 0;
}
