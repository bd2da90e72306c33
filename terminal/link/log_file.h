// What the communication log is written on: one file, opened for the whole
// run and only ever appended to, and the local time its stamps carry. The
// window writes on a Win32 file, talvorix-cli on a POSIX file, the native
// terminal of the tests and tools in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "terminal/link/log_format.h"

struct LogFile {
  virtual ~LogFile() = default;
  // Opens the named file, creating it when it does not exist, with its
  // position at its end. False when it cannot be opened.
  virtual bool Open(const std::string& name) = 0;
  virtual bool IsOpen() const = 0;
  // Appends the whole piece at the end of the open file; false when it could
  // not all be written.
  virtual bool Append(const std::uint8_t* bytes, std::size_t length) = 0;
  // The size of the open file: where the next piece goes.
  virtual std::int64_t End() = 0;
  virtual void Close() = 0;
  // The local date and time now.
  virtual LogClock LocalTime() = 0;
};
