// The log file in memory, for the native terminal of the tests and tools: open
// from the start, a write that would take it past `capacity` fails, and its
// local time stands still at `time`.
#pragma once

#include <cstdint>
#include <vector>

#include "terminal/link/log_file.h"

struct MemoryLogFile final : LogFile {
  std::vector<std::uint8_t> bytes;
  std::size_t capacity = SIZE_MAX;
  bool open = true;
  LogClock time{};

  // The bytes stay: a file opened again grows on.
  bool Open(const std::string&) override {
    open = true;
    return true;
  }
  bool IsOpen() const override { return open; }
  bool Append(const std::uint8_t* piece, std::size_t length) override;
  std::int64_t End() override { return std::int64_t(bytes.size()); }
  void Close() override { open = false; }
  LogClock LocalTime() override { return time; }
};
