// talvorix-replay: plays a file of received words through the terminal's
// interpreter and prints what the user would have seen.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "terminal/native/native_platform.h"
#include "common/command_line.h"
#include "picture/png_writer.h"
#include "picture/screen_picture.h"
#include "replay/log_input.h"
#include "replay/replay_options.h"
#include "replay/replay_report.h"
#include "replay/replay_run.h"
#include "common/whole_file.h"

namespace {

// The received bytes to replay, one string for each session; false after
// telling the user why there are none.
bool LoadInput(const ReplayOptions& options, std::vector<std::string>& sessions) {
  std::string error;
  if (options.logInput) {
    if (ReadLogRun(options.inputPath, int(options.session), sessions, error)) return true;
  } else {
    sessions.resize(1);
    if (ReadWholeFile(options.inputPath, sessions[0])) return true;
    error = "cannot read " + options.inputPath + ": " + std::strerror(errno);
  }
  std::fprintf(stderr, "talvorix-replay: %s\n", error.c_str());
  return false;
}

// The pictures asked for; false after telling the user what failed.
bool WritePictures(const ReplayOptions& options, const NativeTerminal& terminal) {
  if (!options.graphicPath.empty() && !WritePng(options.graphicPath, terminal.plane())) {
    std::fprintf(stderr, "talvorix-replay: cannot write %s\n", options.graphicPath.c_str());
    return false;
  }
  std::string error;
  if (!options.picturePath.empty() &&
      !WriteTextPicture(options.picturePath, *terminal.terminal, options.rows, error)) {
    std::fprintf(stderr, "talvorix-replay: %s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  ReplayOptions options;
  std::string error;
  if (!ParseReplayOptions(argc, argv, options, error)) return RefuseCommandLine("talvorix-replay", error, ReplayUsage);
  std::vector<std::string> sessions;
  if (!LoadInput(options, sessions)) return 1;
  NativeTerminal terminal;
  ReplayInput(terminal, sessions, options.settings);
  const std::string report = ReplayReport(terminal);
  std::fwrite(report.data(), 1, report.size(), stdout);
  if (!WritePictures(options, terminal)) return 1;
  return std::fflush(stdout) == 0 ? 0 : 1;
}
