#include "tests/core/corpus/outcome_digest.h"

#include <cstdio>

#include "replay/replay_report.h"

namespace {

constexpr std::uint64_t FnvOffset = 14695981039346656037ull;
constexpr std::uint64_t FnvPrime = 1099511628211ull;

std::uint64_t Mix(std::uint64_t hash, std::uint8_t byte) { return (hash ^ byte) * FnvPrime; }

std::string HexText(std::uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

// FNV-1a over the pixels' 32-bit values rather than their bytes: a quarter of
// the steps, and no dependence on the host's byte order either.
std::string PlaneDigest(const GraphicPlane& plane) {
  std::uint64_t hash = FnvOffset;
  for (const COLORREF pixel : plane.Pixels()) hash = (hash ^ pixel) * FnvPrime;
  return HexText(hash);
}

// Every pixel looked at, without an early exit: a loop the compiler vectorises.
bool Untouched(const GraphicPlane& plane) {
  COLORREF differences = 0;
  for (const COLORREF pixel : plane.Pixels()) differences |= pixel ^ PlaneWhite;
  return differences == 0;
}

}  // namespace

std::string ReplayOutcome(const HeadlessTerminal& terminal) {
  std::string outcome = ReplayReport(terminal);
  const GraphicPlane& plane = terminal.plane();
  if (!Untouched(plane)) outcome += "plane " + PlaneDigest(plane) + "\n";
  return outcome;
}

std::string Digest(const std::string& bytes) {
  std::uint64_t hash = FnvOffset;
  for (const char byte : bytes) hash = Mix(hash, std::uint8_t(byte));
  return HexText(hash);
}
