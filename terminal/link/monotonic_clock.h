// The monotonic clock the serial device and talvorix-cli measure their waits with.
#pragma once

#include <cstdint>

#include "terminal/model/roles.h"

// Milliseconds since an arbitrary start; never goes back.
std::uint64_t MonotonicMs();

// The same clock as a terminal's Clock role.
struct MonotonicClock final : Clock {
  std::uint64_t Milliseconds() override { return MonotonicMs(); }
};
