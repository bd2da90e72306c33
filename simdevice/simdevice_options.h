// The command line of talvorix-simdevice.
#pragma once

#include <string>

#include "simdevice/sim_device.h"

extern const char SimDeviceUsage[];

struct SimDeviceOptions {
  std::string linkPath;    // empty: no link
  std::string recordPath;  // empty: no record
  std::string timedRecordPath;  // empty: no timed record
  std::string scriptPath;  // "-" for standard input
};

// Reads the command line into `options`, and when the device may start
// talking (--settle) into `device`. False, with `error` naming the wrong
// argument and what is wrong with it, for a command line the usage does not
// allow.
bool ParseSimDeviceOptions(int argc, const char* const* argv, SimDeviceOptions& options, SimDevice& device,
                           std::string& error);
