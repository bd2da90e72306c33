#include "cli/received_tail.h"

#include <algorithm>

#include "terminal/interpreter/dump_line.h"
#include "terminal/native/cp932_text.h"

namespace {

constexpr std::size_t DumpLineBytes = 16;


// Keeps the arrivals that brought the last ReceivedTailBytes; an arrival
// longer than that keeps its last ones, from the same place in a word.
void AddArrival(ReceivedTail& tail, const std::uint8_t* bytes, std::size_t length, const TraceTime& when) {
  const std::size_t cut = length > ReceivedTailBytes ? (length - ReceivedTailBytes) & ~std::size_t(1) : 0;
  TraceEvent arrival;
  arrival.kind = TraceKind::Received;
  arrival.time = when;
  arrival.oddStart = tail.total % 2 != 0;
  arrival.bytes.assign(bytes + cut, bytes + length);
  tail.arrivals.push_back(arrival);
  std::size_t kept = 0;
  std::size_t first = tail.arrivals.size();
  while (first > 0 && kept < ReceivedTailBytes) kept += tail.arrivals[--first].bytes.size();
  tail.arrivals.erase(tail.arrivals.begin(), tail.arrivals.begin() + std::ptrdiff_t(first));
}

}  // namespace

void AddReceived(ReceivedTail& tail, const std::uint8_t* bytes, std::size_t length, const TraceTime& when) {
  AddArrival(tail, bytes, length, when);
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

std::string TimedArrivals(const ReceivedTail& tail) {
  std::string lines;
  ShownWords shown(Cp932ToUtf8);
  for (const TraceEvent& arrival : tail.arrivals) lines += FormatTraceEvent(arrival, shown) + "\n";
  return lines;
}
