#include "simdevice/simdevice_options.h"

#include "common/command_line.h"

const char SimDeviceUsage[] =
    "usage: talvorix-simdevice [--link PATH] [--record FILE] [--timed-record FILE]"
    " [--settle MS|configured] SCRIPT\n";

namespace {

// "MS", the quiet time after the terminal opened the port, or "configured".
bool TakeSettle(const std::string& text, SimDevice& device, std::string& why) {
  device.talkWhenConfigured = text == "configured";
  long milliseconds = 0;
  const bool read = device.talkWhenConfigured || TakeNumber(text, 0, 999999999, milliseconds, why);
  device.settle = std::uint64_t(milliseconds);
  why = "neither a number of milliseconds nor configured";
  return read;
}

}  // namespace

bool ParseSimDeviceOptions(int argc, const char* const* argv, SimDeviceOptions& options, SimDevice& device,
                           std::string& error) {
  const ToolCommandLine line{{{"link", "PATH", Into(TakeFileName, options.linkPath)},
                              {"record", "FILE", Into(TakeFileName, options.recordPath)},
                              {"timed-record", "FILE", Into(TakeFileName, options.timedRecordPath)},
                              {"settle", "MS|configured", Into(TakeSettle, device)}},
                             OnlyFile(options.scriptPath, "SCRIPT")};
  if (!ReadCommandLine(argc, argv, line, error)) return false;
  error = "no SCRIPT";
  return !options.scriptPath.empty();
}
