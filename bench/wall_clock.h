// Wall-clock timing for the benchmarks that run under Wine, where instruction counts say
// little: figures to read, never a pass or fail.
#pragma once

#include <chrono>

namespace dorovev::bench {

// The mean time of one call of `f` over `rounds` calls, after one call to warm the caches.
template <typename F>
double mean_milliseconds(int rounds, F&& f) {
  f();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / rounds;
}

}  // namespace dorovev::bench
