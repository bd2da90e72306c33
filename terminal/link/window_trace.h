// The window's trace: "Talvorix.trace" in the current directory, written
// while 動作 → トレース記録 is checked (off at start; nothing is remembered
// between runs). The link traces what crosses the line (the pump's pushes,
// the bytes transmitted, the connection's events), the window the user's
// input and the terminal's messages. One per link session.
#pragma once

#include <string_view>

#include "terminal/link/trace_clock.h"
#include "terminal/link/trace_writer.h"
#include "terminal/link/win32_log_file.h"
#include "terminal/model/roles.h"

class WindowTrace {
 public:
  WindowTrace();

  // The writer; closed (every call does nothing) while tracing is off.
  TraceWriter& Writer() { return writer_; }
  bool IsOn() const { return writer_.IsOpen(); }

  // Opens the trace (appending, a header line first, a `start` event when
  // connected). False when the file cannot be opened or written.
  bool Start(bool connected);
  void Stop() { writer_.Close(); }

  // A message the terminal shows, in the trace.
  void Message(std::string_view caption, std::string_view text, TextCoding coding);

 private:
  // The clock the window's terminal measures its waits with (its Clock role,
  // and the pump's ticks): the trace counts time as the terminal did.
  struct TickCountClock final : Clock {
    std::uint64_t Milliseconds() override;
  };

  Win32LogFile file_;
  TickCountClock ticks_;
  SystemTraceClock clock_{ticks_};
  TraceWriter writer_;
};
