// Reading the communication log back: where the received bytes of each
// connection (a session) lie in "Talvorix.log".
//
// A session's data starts right after its start stamp line and ends where the
// next log line starts (its end stamp; a start stamp or a header line when the
// program ended without writing one) or at the end of the file. A log line is
// known by its whole shape, 85 or 86 bytes: CR LF, the label of a stamp, the
// rules, a time text of 24 printable ASCII characters, CR LF. Inside a session
// only places an even number of bytes after its start are looked at, since
// everything received is whole 16-bit words: a stamp cut across two words of
// the data is data. The limit: data that holds the exact bytes of a whole log
// line at such a place ends the session there.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct LogSession {
  std::size_t dataStart;  // just after the start stamp line
  std::size_t dataEnd;    // at the next log line, or the end of the file
  std::size_t run;        // the program run it belongs to: header lines before it, less one
};

// The sessions of a log in the order they were written. False when the bytes
// do not begin with a header line, as every talvorix log does.
bool ReadLogSessions(const std::string& log, std::vector<LogSession>& sessions);
