#include "tools/replay/log_input.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "terminal/link/log_sessions.h"
#include "tools/whole_file.h"

bool ReadLogSession(const std::string& path, int session, std::string& bytes, std::string& error) {
  std::string log;
  if (!ReadWholeFile(path, log)) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  std::vector<LogSession> sessions;
  if (!ReadLogSessions(log, sessions)) {
    error = path + " is not a talvorix log: it does not start with a header line";
    return false;
  }
  if (sessions.empty()) {
    error = path + " holds no session";
    return false;
  }
  const std::size_t chosen = session == 0 ? sessions.size() : std::size_t(session);
  if (chosen > sessions.size()) {
    error = path + " has no session " + std::to_string(session) + ": it holds " + std::to_string(sessions.size());
    return false;
  }
  const LogSession& found = sessions[chosen - 1];
  bytes = log.substr(found.dataStart, found.dataEnd - found.dataStart);
  return true;
}
