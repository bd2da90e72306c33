// A replay with the trace's timing: the connections of a trace played
// through a freshly connected terminal on the replay's own clock, which the
// trace's times set (nothing waits for real).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replay/replay_run.h"
#include "replay/trace_input.h"
#include "terminal/native/native_platform.h"

constexpr std::uint64_t WholeConnection = UINT64_MAX;

// Plays `connections` as ReplayInput plays a log's sessions (the earlier ones
// silently), event by event, each at its time: received bytes are pushed,
// the user's input handed to the terminal, and at the time of each message
// the window showed the terminal is told the time, so that a sequence left
// unfinished gives up exactly where it gave up when recorded (the window and
// the console tool tell it the time every 50 ms; a give-up between two
// events is recorded as a message). A connection that ended is disconnected
// as the user's disconnect does; one the device left (lost) ends what was
// awaited with its message first. The last connection stops at `untilMs`
// since its start, as it stood then. Returns the bytes the trace says the
// terminal sent in the last connection (up to `untilMs`), each with its time.
struct ExpectedSent {
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint64_t> timesMs;  // since the connection started, one per byte
};
ExpectedSent ReplayTrace(HeadlessTerminal& terminal, const std::vector<TracedConnection>& connections,
                         const ReplaySettings& settings, std::uint64_t untilMs);

// Empty when the replay sent what the trace says was sent; otherwise the
// first difference, for the user.
std::string CompareSent(const ExpectedSent& expected, const std::vector<std::uint8_t>& sent);
