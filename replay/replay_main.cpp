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
#include "replay/trace_replay.h"
#include "common/whole_file.h"

namespace {

// The exit status of a trace replay that sent other bytes than the trace
// says the terminal sent: the screen and pictures are still given, so that
// the user sees where the two went apart; 1 stays "no replay was made".
constexpr int SentDiffersStatus = 3;

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

// Plays the input asked for; false after telling the user why there is none.
// With a trace, `difference` tells where the replay sent other bytes than
// the trace says were sent.
bool Play(const ReplayOptions& options, HeadlessTerminal& terminal, std::string& difference) {
  if (!options.traceInput) {
    std::vector<std::string> sessions;
    if (!LoadInput(options, sessions)) return false;
    ReplayInput(terminal, sessions, options.settings);
    return true;
  }
  std::vector<TracedConnection> connections;
  std::string error;
  if (!ReadTraceRun(options.inputPath, int(options.session), connections, error)) {
    std::fprintf(stderr, "talvorix-replay: %s\n", error.c_str());
    return false;
  }
  const ExpectedSent expected = ReplayTrace(terminal, connections, options.settings, options.untilMs);
  difference = CompareSent(expected, terminal.platform.sent);
  return true;
}

// The pictures asked for; false after telling the user what failed.
bool WritePictures(const ReplayOptions& options, const HeadlessTerminal& terminal) {
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
  HeadlessTerminal terminal;
  std::string difference;
  if (!Play(options, terminal, difference)) return 1;
  const std::string report = ReplayReport(terminal);
  std::fwrite(report.data(), 1, report.size(), stdout);
  if (!WritePictures(options, terminal)) return 1;
  if (std::fflush(stdout) != 0) return 1;
  if (difference.empty()) return 0;
  std::fprintf(stderr, "talvorix-replay: %s\n", difference.c_str());
  return SentDiffersStatus;
}
