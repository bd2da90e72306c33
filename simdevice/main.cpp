// talvorix-simdevice: a stand-in for the target device on a pseudo-terminal.
// See README.md for its command line and the script language.
#include <csignal>
#include <cstdio>
#include <string>

#include "common/command_line.h"
#include "simdevice/scenario.h"
#include "simdevice/sim_device.h"
#include "simdevice/simdevice_options.h"
#include "common/whole_file.h"
#include "cli/posix_log_file.h"
#include "terminal/link/monotonic_clock.h"
#include "terminal/link/trace_clock.h"
#include "terminal/native/cp932_text.h"

namespace {

void RequestStop(int) { stopRequested = 1; }

bool ReadScript(const std::string& path, std::string& text) {
  return path == "-" ? ReadWholeStream(stdin, text) : ReadWholeFile(path, text);
}

}  // namespace

int main(int argc, char** argv) {
  SimDeviceOptions options;
  SimDevice device;
  std::string error;
  if (!ParseSimDeviceOptions(argc, argv, options, device, error)) {
    return RefuseCommandLine("talvorix-simdevice", error, SimDeviceUsage);
  }
  std::string text;
  if (!ReadScript(options.scriptPath, text)) {
    std::fprintf(stderr, "talvorix-simdevice: cannot read %s\n", options.scriptPath.c_str());
    return 66;
  }
  const Scenario scenario = ParseScenario(text);
  if (!scenario.error.empty()) {
    std::fprintf(stderr, "talvorix-simdevice: %s: %s\n", options.scriptPath.c_str(), scenario.error.c_str());
    return 65;
  }
  std::signal(SIGTERM, RequestStop);
  std::signal(SIGINT, RequestStop);
  std::signal(SIGPIPE, SIG_IGN);
  PosixLogFile timedFile;
  MonotonicClock clock;
  SystemTraceClock timedClock{clock};
  TraceWriter timedRecord{timedFile, timedClock, Cp932ToUtf8};
  if (!options.timedRecordPath.empty()) {
    if (!timedRecord.Open(options.timedRecordPath, false)) {
      std::fprintf(stderr, "talvorix-simdevice: cannot make the timed record %s\n", options.timedRecordPath.c_str());
      return 71;
    }
    device.timedRecord = &timedRecord;
  }
  if (!StartDevice(device, options.linkPath, options.recordPath)) {
    std::fprintf(stderr, "talvorix-simdevice: cannot make the pseudo-terminal, the link or the record\n");
    return 71;
  }
  int status = 0;
  bool ended = false;
  for (const Step& step : scenario.steps) {
    const PlayResult result = PlayStep(device, step);
    if (result == PlayResult::Failed) status = 2;
    ended = result != PlayResult::Next;
    if (ended) break;
  }
  // After the script the device stays on the line, recording and echoing, until stopped.
  while (!ended && !stopRequested) ServeFor(device, 100);
  StopDevice(device);
  return device.recordFailed ? 74 : status;
}
