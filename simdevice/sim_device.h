// The device end of a pseudo-terminal: plays a scenario towards the terminal,
// records what the terminal sends, and outlives the terminal opening and
// closing the port. It can also disappear and come back on a new
// pseudo-terminal behind the same link, as a USB adapter pulled out and
// plugged in again.
#pragma once

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "simdevice/scenario.h"
#include "terminal/link/trace_writer.h"

struct SimDevice {
  int master = -1;
  std::string slavePath;
  std::string linkPath;             // symlink made to slavePath, removed at the end
  std::FILE* record = nullptr;      // every byte the terminal sends
  bool recordFailed = false;        // a write to the record failed: the device stops
  // What the device sent and received with the times, in the trace's format
  // from the device's side: its writes are `sent`, the terminal's bytes `received`.
  TraceWriter* timedRecord = nullptr;
  std::vector<std::uint8_t> received;
  std::size_t readCursor = 0;       // where wait and expect go on
  std::size_t echoCursor = 0;       // the next key report to echo
  bool echo = false;
  bool open = false;                // the terminal has the port open
  bool configured = false;          // ... and has applied line settings since it opened it
  std::uint64_t madeAt = 0;         // when the current pseudo-terminal was made (milliseconds)
  std::uint64_t openSince = 0;      // milliseconds
  std::uint64_t settle = 300;       // quiet time after the terminal opened the port
  bool talkWhenConfigured = false;  // instead of the quiet time: talk once the line is configured
};

enum class PlayResult { Next, Failed, Quit };

// Opens the pseudo-terminal in raw mode and publishes its path.
bool StartDevice(SimDevice& device, const std::string& linkPath, const std::string& recordPath);

// Plays one step; Failed after a time-out (a message is on stderr).
PlayResult PlayStep(SimDevice& device, const Step& step);

// Keeps recording and echoing for `milliseconds`.
void ServeFor(SimDevice& device, std::uint64_t milliseconds);

void StopDevice(SimDevice& device);

// Set by SIGTERM and SIGINT: the device stops at the next chance.
extern volatile std::sig_atomic_t stopRequested;
