#include "terminal/link/monotonic_clock.h"

#include <chrono>

std::uint64_t MonotonicMs() {
  using namespace std::chrono;
  return std::uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
