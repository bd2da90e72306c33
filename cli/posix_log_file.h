// The log file of talvorix-cli: opened for appending only, so that runs of the
// window and of this tool can share one file. A failure keeps the system's
// reason for the tool's message.
#pragma once

#include <string>

#include "terminal/link/log_file.h"
#include "terminal/link/log_writer.h"

class PosixLogFile final : public LogFile {
 public:
  bool Open(const std::string& path) override;
  bool IsOpen() const override { return fd_ >= 0; }
  bool Append(const std::uint8_t* bytes, std::size_t length) override;
  std::int64_t End() override;
  void Close() override;
  LogClock LocalTime() override;

  // The tool's words for the latest failure, "cannot open the log PATH: REASON"
  // or "cannot write the log PATH: REASON".
  std::string FailureText(LogResult result) const;

 private:
  bool Fail(int error);

  int fd_ = -1;
  std::string path_;
  std::string reason_;
};
