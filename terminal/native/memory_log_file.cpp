#include "terminal/native/memory_log_file.h"

bool MemoryLogFile::Append(const std::uint8_t* piece, std::size_t length) {
  if (bytes.size() + length > capacity) return false;
  bytes.insert(bytes.end(), piece, piece + length);
  return true;
}
