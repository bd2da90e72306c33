// The communication log in its byte format (log_format.h), written the same
// way by every front end: the header line when the program opens it, a start
// stamp before each connection's received bytes and an end stamp after them.
//
// A failed write closes the log, and the front end is told once, by the
// result of the operation that failed (the window shows its message box,
// talvorix-cli prints the error). From then on the program goes on without a
// log: stamps and received bytes are skipped silently and count as done, so
// that connecting and point-plot mode keep working.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "terminal/link/log_file.h"
#include "terminal/link/log_format.h"

// Done also for what was skipped because no log is open.
enum class LogResult { Done, OpenFailed, WriteFailed };

// The console tool's words for a failure of the log file `path`, with the
// system's `reason`: "cannot open the log PATH: REASON" or "cannot write the
// log PATH: REASON".
std::string LogFailureText(LogResult result, const std::string& path, const std::string& reason);

class CommLogWriter {
 public:
  explicit CommLogWriter(LogFile& file) : file_(file) {}
  CommLogWriter(const CommLogWriter&) = delete;
  CommLogWriter& operator=(const CommLogWriter&) = delete;

  // Opens the file and appends the header line. Nothing is done when the log
  // is already open. A header that cannot be written closes the file again.
  [[nodiscard]] LogResult Open(const std::string& name);
  // Appends the start or end stamp; a start stamp moves DataStart to its end.
  [[nodiscard]] LogResult Stamp(StampKind kind);
  // Appends received bytes unchanged.
  [[nodiscard]] LogResult Append(const std::uint8_t* bytes, std::size_t length);
  void Close();

  bool IsOpen() const { return file_.IsOpen(); }
  // Where the received bytes of the latest connection start: just after its
  // start stamp, kept after it ends; 0 before the first connection.
  std::int64_t DataStart() const { return dataStart_; }

 private:
  LogResult Write(const std::string& piece);

  LogFile& file_;
  std::int64_t dataStart_ = 0;
};
