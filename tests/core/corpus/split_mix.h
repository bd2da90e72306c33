// SplitMix64: a small random generator whose sequence is fixed by its seed on
// every platform, unlike the standard library's distributions.
#pragma once

#include <cstddef>
#include <cstdint>

class SplitMix {
 public:
  explicit SplitMix(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // 0 to n - 1; n at least 1. The slight bias of the modulo does not matter here.
  int Below(int n) { return int(Next() % std::uint64_t(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Percent(int percent) { return Below(100) < percent; }

  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(int(N))];
  }

 private:
  std::uint64_t state_;
};
