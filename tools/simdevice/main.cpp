// talvorix-simdevice: a stand-in for the target device on a pseudo-terminal.
// Usage: talvorix-simdevice [--link PATH] [--record FILE] [--settle MS|configured] SCRIPT
// (SCRIPT "-" reads standard input). See README.md for the script language.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/simdevice/scenario.h"
#include "tools/simdevice/sim_device.h"
#include "tools/whole_file.h"

namespace {

void RequestStop(int) { stopRequested = 1; }

bool ReadScript(const std::string& path, std::string& text) {
  return path == "-" ? ReadWholeStream(stdin, text) : ReadWholeFile(path, text);
}

int Usage() {
  std::fprintf(stderr, "usage: talvorix-simdevice [--link PATH] [--record FILE] [--settle MS|configured] SCRIPT\n");
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  std::string link, record, scriptPath;
  SimDevice device;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--link" && hasValue) {
      link = argv[++i];
    } else if (arg == "--record" && hasValue) {
      record = argv[++i];
    } else if (arg == "--settle" && hasValue) {
      const std::string settle = argv[++i];
      device.talkWhenConfigured = settle == "configured";
      device.settle = std::strtoull(settle.c_str(), nullptr, 10);
    } else if (scriptPath.empty() && (arg == "-" || arg[0] != '-')) {
      scriptPath = arg;
    } else {
      return Usage();
    }
  }
  if (scriptPath.empty()) return Usage();
  std::string text;
  if (!ReadScript(scriptPath, text)) {
    std::fprintf(stderr, "talvorix-simdevice: cannot read %s\n", scriptPath.c_str());
    return 66;
  }
  const Scenario scenario = ParseScenario(text);
  if (!scenario.error.empty()) {
    std::fprintf(stderr, "talvorix-simdevice: %s: %s\n", scriptPath.c_str(), scenario.error.c_str());
    return 65;
  }
  std::signal(SIGTERM, RequestStop);
  std::signal(SIGINT, RequestStop);
  std::signal(SIGPIPE, SIG_IGN);
  if (!StartDevice(device, link, record)) {
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
