#include "replay/log_input.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "terminal/link/log_sessions.h"
#include "common/whole_file.h"

namespace {

// The index of the first session of the program run session `index` belongs to.
std::size_t FirstOfRun(const std::vector<LogSession>& sessions, std::size_t index) {
  std::size_t first = index;
  while (first > 0 && sessions[first - 1].run == sessions[index].run) --first;
  return first;
}

}  // namespace

bool ReadLogRun(const std::string& path, int session, std::vector<std::string>& sessions, std::string& error) {
  std::string log;
  if (!ReadWholeFile(path, log)) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  std::vector<LogSession> found;
  if (!ReadLogSessions(log, found)) {
    error = path + " is not a talvorix log: it does not start with a header line";
    return false;
  }
  if (found.empty()) {
    error = path + " holds no session";
    return false;
  }
  const std::size_t chosen = session == 0 ? found.size() : std::size_t(session);
  if (chosen > found.size()) {
    error = path + " has no session " + std::to_string(session) + ": it holds " + std::to_string(found.size());
    return false;
  }
  sessions.clear();
  for (std::size_t i = FirstOfRun(found, chosen - 1); i < chosen; ++i) {
    sessions.push_back(log.substr(found[i].dataStart, found[i].dataEnd - found[i].dataStart));
  }
  return true;
}
