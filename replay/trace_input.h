// The input of `talvorix-replay --trace`: the events of one connection of a
// trace (terminal/link/trace_format.h).
#pragma once

#include <string>
#include <vector>

#include "terminal/link/trace_format.h"

// One connection: from its start event to the next one.
using TracedConnection = std::vector<TraceEvent>;

// Connection `session` (counted from 1 in file order; 0 is the last) of the
// trace at `path`, preceded by the earlier connections of the same recording
// (the connections after the last "# talvorix trace" line before it): the
// chosen connection is the last of `connections`. False, with `error` as the
// message for the user, when the file cannot be read, holds a line that is
// neither a comment nor an event, or has no such connection.
bool ReadTraceRun(const std::string& path, int session, std::vector<TracedConnection>& connections,
                  std::string& error);
