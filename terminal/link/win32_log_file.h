// The log file on Windows, of the window and of talvorix-cli.exe: opened for
// reading and writing and shared for reading only, so that the dump view can
// read back what was received through the same handle while no other program
// writes to the file. A failure keeps the system's reason for the console
// tool's message.
#pragma once

#include <windows.h>

#include <string>

#include "terminal/link/log_file.h"
#include "terminal/link/log_writer.h"

struct Win32LogFile final : LogFile {
  // INVALID_HANDLE_VALUE while closed; the handle of a closed file is never
  // used again.
  HANDLE handle = INVALID_HANDLE_VALUE;

  bool Open(const std::string& name) override;
  bool IsOpen() const override { return handle != INVALID_HANDLE_VALUE; }
  bool Append(const std::uint8_t* bytes, std::size_t length) override;
  std::int64_t End() override;
  void Close() override;
  LogClock LocalTime() override;

  // Reads `count` bytes at `offset` for the dump view. The position is back at
  // the end afterwards, where the next piece is appended.
  bool ReadAt(std::int64_t offset, std::uint8_t* buffer, std::uint32_t count);

  // LogFailureText (log_writer.h) for the latest failure.
  std::string FailureText(LogResult result) const;

 private:
  bool Fail();

  std::string path_;
  DWORD failure_ = 0;
};
