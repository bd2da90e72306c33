// The command line of talvorix-replay.
#pragma once

#include <cstdint>
#include <string>

#include "picture/screen_picture.h"
#include "replay/replay_run.h"

extern const char ReplayUsage[];

struct ReplayOptions {
  ReplaySettings settings;
  std::string graphicPath;  // empty: no picture of the graphic plane
  std::string picturePath;  // empty: no picture of the text screen
  RowRange rows;            // of the text screen's picture
  bool rowsGiven = false;
  bool logInput = false;  // inputPath is a communication log
  bool traceInput = false;  // inputPath is a trace
  long session = 0;       // of the log or the trace, from 1; 0 the last
  // With a trace: where the replay stops, since the chosen connection started.
  std::uint64_t untilMs = UINT64_MAX;
  bool untilGiven = false;
  std::string inputPath;
};

// False, with `error` naming the wrong argument and what is wrong with it,
// for a command line the usage does not allow.
bool ParseReplayOptions(int argc, const char* const* argv, ReplayOptions& options, std::string& error);
