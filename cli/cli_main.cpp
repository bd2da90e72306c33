// talvorix-cli: the terminal on a serial port, driven by a script of keys,
// text and expectations on the screen, for a device's automated tests.
#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "cli/script_file.h"
#include "cli/script_run.h"
#include "cli/stop_signal.h"
#include "cli/tool_platform.h"
#include "common/command_line.h"

namespace {

int CannotStart(const std::string& why) {
  std::fprintf(stderr, "talvorix-cli: %s\n", why.c_str());
  return ExitCannotStart;
}

// Stop signals are caught from here on, where the port and the log open.
int Run(const CliOptions& options, const std::vector<ScriptLine>& lines) {
  CatchStopSignals();
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
  PrepareConsole();
  EndOnStopSignals();
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(argc, argv, options, error)) return RefuseCommandLine("talvorix-cli", error, CliUsage);
  std::string text;
  if (!ReadScriptFile(options.scriptPath, text, error)) return CannotStart(error);
  std::vector<ScriptLine> lines;
  if (!ParseScript(text, lines, error)) return CannotStart(options.scriptPath + ": " + error);
  return Run(options, lines);
}
