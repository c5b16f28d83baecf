// Timing for the benchmarks: runs a piece of work again and again for at least a minimum
// time and gives the mean seconds per run, so baseline and subject are timed alike.
// Keeps no state between calls; the work runs on the calling thread.
#pragma once
#include <chrono>

template <class F>
double SecondsPerRun(F run, double minimumSeconds = 0.5) {
  using clock = std::chrono::steady_clock;
  int runs = 0;
  auto start = clock::now();
  double seconds = 0;
  do {
    run();
    ++runs;
    seconds = std::chrono::duration<double>(clock::now() - start).count();
  } while (seconds < minimumSeconds);
  return seconds / runs;
}
