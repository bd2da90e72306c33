#include "replay/trace_input.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#include "common/whole_file.h"

namespace {

struct FoundConnection {
  int recording;
  TracedConnection events;
};

// Every connection of the file with the recording it belongs to. Events
// outside a connection (none are written) are passed over.
bool ReadConnections(const std::string& text, std::vector<FoundConnection>& found, std::string& error) {
  std::istringstream in(text);
  int recording = 0;
  int lineNumber = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == TraceHeaderLine) ++recording;
    if (line.empty() || line[0] == '#') continue;
    TraceEvent event;
    if (!ParseTraceEvent(line, event, error)) {
      error = "line " + std::to_string(lineNumber) + ": " + error;
      return false;
    }
    if (event.kind == TraceKind::Start) found.push_back(FoundConnection{recording, {}});
    if (!found.empty() && found.back().recording == recording) found.back().events.push_back(event);
  }
  return true;
}

}  // namespace

bool ReadTraceRun(const std::string& path, int session, std::vector<TracedConnection>& connections,
                  std::string& error) {
  std::string text;
  if (!ReadWholeFile(path, text)) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  std::vector<FoundConnection> found;
  if (!ReadConnections(text, found, error)) {
    error = path + ": " + error;
    return false;
  }
  const std::size_t chosen = session == 0 ? found.size() : std::size_t(session);
  if (found.empty()) {
    error = path + " holds no connection";
    return false;
  }
  if (chosen > found.size()) {
    error = path + " has no connection " + std::to_string(session) + ": it holds " + std::to_string(found.size());
    return false;
  }
  std::size_t first = chosen - 1;
  while (first > 0 && found[first - 1].recording == found[chosen - 1].recording) --first;
  connections.clear();
  for (std::size_t i = first; i < chosen; ++i) connections.push_back(found[i].events);
  return true;
}
