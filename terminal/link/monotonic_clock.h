// The monotonic clock the serial device and talvorix-cli measure their waits with.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start; never goes back.
std::uint64_t MonotonicMs();
