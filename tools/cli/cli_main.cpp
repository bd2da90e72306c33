// talvorix-cli: the terminal on a serial port, driven by a script of keys,
// text and expectations on the screen, for a device's automated tests.
#include <csignal>
#include <cstdio>
#include <string>

#include "tools/cli/cli_options.h"
#include "tools/cli/script_run.h"
#include "tools/cli/stop_signal.h"
#include "tools/command_line.h"
#include "tools/whole_file.h"

namespace {

bool ReadScript(const std::string& path, std::string& text) {
  return path == "-" ? ReadWholeStream(stdin, text) : ReadWholeFile(path, text);
}

int CannotStart(const std::string& why) {
  std::fprintf(stderr, "talvorix-cli: %s\n", why.c_str());
  return ExitCannotStart;
}

int Run(const CliOptions& options, const std::vector<ScriptLine>& lines) {
  Session session(options.session);
  std::string error;
  if (!session.Start(error)) return CannotStart(error);
  int code = RunScript(lines, session);
  session.Disconnect();
  if (code == ExitDone && !session.Failure().empty()) {
    std::fprintf(stderr, "talvorix-cli: %s\n", session.Failure().c_str());
    code = ExitFailed;
  }
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  CatchStopSignals();
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(argc, argv, options, error)) return RefuseCommandLine("talvorix-cli", error, CliUsage);
  std::string text;
  if (!ReadScript(options.scriptPath, text)) return CannotStart("cannot read the script " + options.scriptPath);
  std::vector<ScriptLine> lines;
  if (!ParseScript(text, lines, error)) return CannotStart(options.scriptPath + ": " + error);
  return Run(options, lines);
}
