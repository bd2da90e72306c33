#include "jis.h"

std::uint16_t JisToSjis(std::uint16_t jis) {
  const int row = jis >> 8;
  const int cell = jis & 0xFF;
  const std::int32_t n = (row - 0x21) * 94 + (cell - 0x21);
  const std::int32_t q = n / 188;  // both truncate toward zero, also for negative n
  const std::int32_t m = n % 188;
  unsigned lead = unsigned(q + 0x81) & 0xFF;
  if (lead > 0x9F) lead = (lead + 0x40) & 0xFF;
  unsigned trail = unsigned(m + 0x40) & 0xFF;
  if (trail > 0x7E) trail = (trail + 1) & 0xFF;
  return std::uint16_t(trail << 8 | lead);
}

std::uint16_t SjisToJis(std::uint16_t sjisPair) {
  std::uint8_t lead = std::uint8_t(sjisPair & 0xFF);
  std::uint8_t trail = std::uint8_t(sjisPair >> 8);
  if (lead > 0x9F) lead = std::uint8_t(lead + 0xC0);
  lead = std::uint8_t(lead + 0x7F);
  if (trail > 0x7E) trail = std::uint8_t(trail - 1);
  trail = std::uint8_t(trail + 0xC0);
  const unsigned n = lead * 188u + trail;
  const unsigned row = (n / 94 + 0x21) & 0xFF;
  const unsigned cell = (n % 94 + 0x21) & 0xFF;
  return std::uint16_t(row << 8 | cell);
}
