#include "cli/received_tail.h"

#include <algorithm>

#include "terminal/interpreter/dump_line.h"
#include "terminal/native/cp932_text.h"

namespace {

constexpr std::size_t DumpLineBytes = 16;

}  // namespace

void AddReceived(ReceivedTail& tail, const std::uint8_t* bytes, std::size_t length) {
  tail.bytes.insert(tail.bytes.end(), bytes, bytes + length);
  tail.total += length;
  if (tail.bytes.size() < 2 * ReceivedTailBytes) return;
  // Dropping an even count keeps the words whole.
  const std::size_t drop = (tail.bytes.size() - ReceivedTailBytes) & ~std::size_t(1);
  tail.bytes.erase(tail.bytes.begin(), tail.bytes.begin() + std::ptrdiff_t(drop));
}

std::string DumpReceived(const ReceivedTail& tail) {
  // The kept bytes start on a word; so does the first line shown.
  const std::size_t size = tail.bytes.size();
  const std::size_t first = size > ReceivedTailBytes ? (size - ReceivedTailBytes + 1) & ~std::size_t(1) : 0;
  const std::uint64_t firstOffset = tail.total - size + first;
  std::string dump;
  char line[DumpLineLength + 1];
  for (std::size_t at = first; at < size; at += DumpLineBytes) {
    const std::size_t count = std::min(DumpLineBytes, size - at);
    FormatDumpLine(std::uint32_t(firstOffset + (at - first)), tail.bytes.data() + at, int(count), line);
    dump += Cp932ToUtf8(reinterpret_cast<const std::uint8_t*>(line), DumpLineLength) + "\n";
  }
  return dump;
}
