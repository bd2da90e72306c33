// The last bytes received in a connection, kept for the report of a failed
// expectation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// How many of the last bytes are kept: four dump lines.
constexpr std::size_t ReceivedTailBytes = 64;

struct ReceivedTail {
  std::vector<std::uint8_t> bytes;  // at least the last ReceivedTailBytes, from an even offset
  std::uint64_t total = 0;          // bytes received in the connection
};

void AddReceived(ReceivedTail& tail, const std::uint8_t* bytes, std::size_t length);

// The last bytes as the window's dump shows them ("%08lX  " offset, the words
// in hexadecimal, their characters), in UTF-8, one line each.
std::string DumpReceived(const ReceivedTail& tail);
