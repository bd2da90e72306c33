// The monotonic clock the tool measures its waits with.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start; never goes back.
std::uint64_t MonotonicMs();
