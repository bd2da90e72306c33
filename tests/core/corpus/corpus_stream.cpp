#include "tests/core/corpus/corpus_stream.h"

std::string StreamBytes(const std::vector<std::uint16_t>& words, int oddByte) {
  std::string bytes;
  for (const std::uint16_t word : words) {
    bytes += char(word & 0xFF);
    bytes += char(word >> 8);
  }
  if (oddByte >= 0 && oddByte <= 0xFF) bytes += char(oddByte);
  return bytes;
}
