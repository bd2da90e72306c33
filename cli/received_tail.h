// The last bytes received in a connection, and the arrivals that brought
// them with their times, kept for the report of a failed expectation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "terminal/link/trace_format.h"

// How many of the last bytes are kept: four dump lines.
constexpr std::size_t ReceivedTailBytes = 64;

struct ReceivedTail {
  std::vector<std::uint8_t> bytes;  // at least the last ReceivedTailBytes, from an even offset
  std::uint64_t total = 0;          // bytes received in the connection
  // The arrivals that brought the last ReceivedTailBytes, each as the trace
  // shows it (at most its last ReceivedTailBytes bytes).
  std::vector<TraceEvent> arrivals;
};

// `when`: the local time and the milliseconds since the connection started.
void AddReceived(ReceivedTail& tail, const std::uint8_t* bytes, std::size_t length, const TraceTime& when);

// The last bytes as the window's dump shows them ("%08lX  " offset, the words
// in hexadecimal, their characters), in UTF-8, one line each.
std::string DumpReceived(const ReceivedTail& tail);

// The arrivals, one line each as the trace writes a received event: the local
// time, the milliseconds since the connection started, the words and what
// they show.
std::string TimedArrivals(const ReceivedTail& tail);
