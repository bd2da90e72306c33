#include "terminal/link/log_sessions.h"

#include <initializer_list>

#include "terminal/link/log_format.h"

namespace {

// The log lines with a NUL in each byte of the time text, which nowhere else
// in a line is NUL.
const std::string& HeaderShape() {
  static const std::string shape = HeaderLine(std::string(24, '\0'));
  return shape;
}

const std::string& StampShape(StampKind kind) {
  static const std::string start = StampLine(StampKind::Start, std::string(24, '\0'));
  static const std::string end = StampLine(StampKind::End, std::string(24, '\0'));
  return kind == StampKind::Start ? start : end;
}

bool Fits(const std::string& log, std::size_t at, const std::string& shape) {
  if (log.size() - at < shape.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const char c = log[at + i];
    if (shape[i] == '\0' ? c < 0x20 || c > 0x7E : c != shape[i]) return false;
  }
  return true;
}

// The length of the log line at `at`, 0 when none starts there.
std::size_t LineAt(const std::string& log, std::size_t at) {
  for (const std::string* shape : {&HeaderShape(), &StampShape(StampKind::Start), &StampShape(StampKind::End)}) {
    if (Fits(log, at, *shape)) return shape->size();
  }
  return 0;
}

LogSession SessionFrom(const std::string& log, std::size_t dataStart, std::size_t run) {
  for (std::size_t at = dataStart; at < log.size(); at += 2) {
    if (LineAt(log, at) != 0) return LogSession{dataStart, at, run};
  }
  return LogSession{dataStart, log.size(), run};
}

}  // namespace

// Every header line after the first starts another program run.
bool ReadLogSessions(const std::string& log, std::vector<LogSession>& sessions) {
  if (!Fits(log, 0, HeaderShape())) return false;
  std::size_t run = 0;
  for (std::size_t at = HeaderShape().size(); at < log.size();) {
    if (Fits(log, at, StampShape(StampKind::Start))) {
      sessions.push_back(SessionFrom(log, at + StampShape(StampKind::Start).size(), run));
      at = sessions.back().dataEnd;
    } else {
      // Between sessions only log lines are written; a stray byte is passed over.
      if (Fits(log, at, HeaderShape())) ++run;
      const std::size_t line = LineAt(log, at);
      at += line != 0 ? line : 1;
    }
  }
  return true;
}
