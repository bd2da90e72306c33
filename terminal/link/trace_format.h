// The line format of a trace ("Talvorix.trace", talvorix-cli --trace): what
// went over the line in both directions and when, one event per line, UTF-8
// text that a person reads and a script parses, and that talvorix-replay
// --trace plays back exactly. docs/trace.md describes it for users.
//
//   # talvorix trace 1
//   2026-12-09 12:31:37.123456 +0ms start
//   2026-12-09 12:31:37.180512 +57ms received 2341 2342 000D 000A | Ａ Ｂ CR LF
//   2026-12-09 12:31:38.002001 +878ms user 0000 0041 0041 0000
//   2026-12-09 12:31:38.002090 +878ms sent 0000 0041 0041 0000
//   2026-12-09 12:31:43.060000 +5937ms message 通信ターミナル|受信エラー：…
//   2026-12-09 12:31:44.000000 +6876ms end
//
// Each event line: the local date, the local time to the microsecond, "+" and
// the milliseconds since the connection started (on the clock the terminal
// measures its waits with, so that a replay decides them alike), the kind, and
// what the kind carries:
// - received / sent / user: the bytes in hexadecimal, in line order. Four
//   digits are a whole word, written as its value (the bytes 41 23 are 2341);
//   two digits are one byte of a word split across two events (whether a
//   line of a single byte ends a word or begins one follows from the bytes
//   of that direction before it). `received` is
//   one push into the terminal, followed by " | " and what each word shows
//   (its display form decoded from code page 932, control words by name, "…"
//   for a split byte); `sent` is what the terminal wrote to the device; `user`
//   is what the user handed the terminal (a key report, a composed character),
//   which it sends at once or, during point-plot mode, when the mode ends.
// - start (the terminal connects, before anything is read: the milliseconds
//   count from 0 here), reconnect (that start ended a wait for a vanished
//   device), end (closed by the user or the program), lost DETAIL (the device
//   vanished, no reconnect follows), waiting DETAIL (vanished, waited for),
//   wait-ended (a wait stopped without the device). A trace begun in the
//   middle of a connection starts with a `start` at that moment.
// - message CAPTION|TEXT: a message the terminal showed; a backslash, CR and
//   LF in it are written \\, \r and \n.
// A line starting with "#" is a comment; "# talvorix trace 1" starts each
// recording (the file is appended to, as the communication log is).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The local date and time of an event, and its place on the terminal's clock.
struct TraceTime {
  int year = 0;
  int month = 0;  // 1-12
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int microsecond = 0;
  std::uint64_t sinceStartMs = 0;  // since the connection started
};

enum class TraceKind { Start, Reconnect, End, Lost, Waiting, WaitEnded, Received, Sent, User, Message };

struct TraceEvent {
  TraceTime time;
  TraceKind kind = TraceKind::Start;
  std::vector<std::uint8_t> bytes;  // received, sent, user: in line order
  bool oddStart = false;            // the first byte ends a word begun in an earlier event
  std::string text;                 // lost, waiting: the reason; message: CAPTION|TEXT
};

// Code page 932 bytes as UTF-8 (the program's own conversion).
using Cp932Decoder = std::string (*)(const std::uint8_t* bytes, std::size_t length);

// What each received word shows, in UTF-8: its display form decoded, a
// control word by its name. Each word is decoded once and kept, so that a
// flood costs no conversion per line.
class ShownWords {
 public:
  explicit ShownWords(Cp932Decoder decoder) : decoder_(decoder) {}
  const std::string& Of(std::uint16_t word);

 private:
  Cp932Decoder decoder_;
  std::vector<std::string> shown_;  // by word; empty: not decoded yet
};

extern const char TraceHeaderLine[];  // "# talvorix trace 1", without a line end

// One event as its line, without the line end; `shown` gives the text of
// received words.
std::string FormatTraceEvent(const TraceEvent& event, ShownWords& shown);
// The same, appended to `out`.
void AppendTraceEvent(std::string& out, const TraceEvent& event, ShownWords& shown);

// Reads an event line (without its line end). False, with `error`, for a
// line that is not one.
bool ParseTraceEvent(const std::string& line, TraceEvent& event, std::string& error);
