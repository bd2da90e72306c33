// The writer of a trace (trace_format.h), one for the window and
// talvorix-cli: the front end tells it what crosses the line where it
// crosses (the bytes pushed into the terminal, the bytes the terminal writes
// to the device, the user's input, the connection's events, the terminal's
// messages), and it appends one line per event to its file while it is open.
// Closed, every call does nothing, so the front ends call it unconditionally.
//
// The bytes the terminal sends one at a time are gathered into one `sent`
// event with the time of its first byte; the event is written before any
// other event and by Flush (the front ends flush after each push and each
// user input, which is where the terminal sends).
//
// Lines of received and sent bytes are gathered in memory and appended to the
// file in pieces of TraceBufferBytes, so that a flood costs few writes; Sync
// appends what is gathered (the front ends sync when they have taken in all
// that has arrived, so the file is complete whenever the line is quiet), and
// every other event is appended at once. A write that fails closes the trace:
// the program goes on without it, as it does without a log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "terminal/link/connection.h"
#include "terminal/link/log_file.h"
#include "terminal/link/trace_format.h"

constexpr std::size_t TraceBufferBytes = 16384;

// The local time to the microsecond, and the milliseconds of the clock the
// terminal measures its waits with.
struct TraceClock {
  virtual ~TraceClock() = default;
  virtual TraceTime Now() = 0;  // sinceStartMs: the terminal's clock, not yet from the start
};

class TraceWriter {
 public:
  TraceWriter(LogFile& file, TraceClock& clock, Cp932Decoder decoder)
      : file_(file), clock_(clock), shown_(decoder) {}
  // What is gathered is appended and the file closed.
  ~TraceWriter() { Close(); }
  TraceWriter(const TraceWriter&) = delete;
  TraceWriter& operator=(const TraceWriter&) = delete;

  // Opens (appending to) the named file and writes the recording's header
  // line; false when it cannot be opened or written. While connected, the
  // recording starts with a `start` event at that moment.
  bool Open(const std::string& name, bool connected);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }

  // The terminal connects (the line is open): a `start` event, from which
  // the milliseconds count. Told before anything is read from the line.
  void SessionStarted();
  // The connection's events (connection.h) after it: Connected is the
  // session's start already traced; Reconnected notes that the start ended
  // a wait.
  void Connection(ConnectionEvent event, const std::string& detail);
  void Received(const std::uint8_t* bytes, std::size_t length);
  void Sent(std::uint8_t byte);
  void User(const std::uint8_t* bytes, std::size_t length);
  // `text` and `caption` in UTF-8.
  void Message(const std::string& caption, const std::string& text);
  void Flush();
  // Flush, then appends what is gathered to the file.
  void Sync();

 private:
  TraceEvent Event(TraceKind kind);
  void Write(const TraceEvent& event);
  void WriteLine(const std::string& line);
  void EndLine();
  void WriteOut();
  void StartCount(TraceKind kind);

  LogFile& file_;
  TraceClock& clock_;
  ShownWords shown_;
  std::uint64_t startMs_ = 0;
  bool receivedOdd_ = false;  // the received bytes so far end inside a word
  bool sentOdd_ = false;
  TraceEvent pendingSent_;
  bool sentPending_ = false;
  std::string gathered_;  // lines not yet appended to the file
};
