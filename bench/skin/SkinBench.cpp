// bench_skin: how fast the built-in skin unpacks, in MB/s of unpacked output, beside a plain
// memcpy of the unpacked bytes measured in the same run. Target: at least 60 MB/s.
#include "bench/support/BenchTimer.h"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/rtl/SysUtils.h"
#include "skin/SkinLzh.h"
#include "skin/SkinReader.h"

namespace {

template <class F>
double MBPerSecond(size_t bytesPerRun, F run) {
  return (double)bytesPerRun / SecondsPerRun(run, 1.0) / 1e6;
}

}  // namespace

int main() {
  const std::string packed = sys::ReadFileBytes(std::string(KARV_SKINS_DIR) + "/builtin.skin");
  std::string unpacked;
  if (!TLZH::Decode(packed, unpacked)) {
    std::fprintf(stderr, "bench_skin: the built-in skin does not decode\n");
    return 1;
  }
  const size_t n = unpacked.size();
  std::string copy(n, '\0');
  volatile char sink = 0;

  double memcpyRate = MBPerSecond(n, [&] {
    std::memcpy(copy.data(), unpacked.data(), n);
    sink = sink + copy[n / 2];
  });
  double decodeRate = MBPerSecond(n, [&] {
    std::string out;
    TLZH::Decode(packed, out);
    sink = sink + out[n / 2];
  });
  double loadRate = MBPerSecond(n, [&] {
    TSkinReader r;
    r.Load(packed);
    sink = sink + (char)r.Count();
  });

  std::printf("built-in skin: %zu bytes packed, %zu unpacked\n", packed.size(), n);
  std::printf("memcpy baseline        %10.1f MB/s\n", memcpyRate);
  std::printf("TLZH::Decode           %10.1f MB/s  (%.4f of memcpy)\n", decodeRate, decodeRate / memcpyRate);
  std::printf("TSkinReader::Load      %10.1f MB/s  (%.4f of memcpy)\n", loadRate, loadRate / memcpyRate);
  std::printf("target 60 MB/s: %s\n", loadRate >= 60 ? "met" : "NOT met");
  return 0;
}
