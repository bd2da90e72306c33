// talvorix-replay: plays a file of received words through the terminal's
// interpreter and prints what the user would have seen.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "terminal/interpreter/interpreter.h"
#include "terminal/model/terminal_model.h"
#include "terminal/native/native_platform.h"
#include "tools/picture/png_writer.h"
#include "tools/replay/replay_report.h"
#include "tools/whole_file.h"

namespace {

struct Options {
  bool newLine = false;
  bool noWrap = false;
  std::string graphicPath;
  std::string inputPath;
};

constexpr char Usage[] = "usage: talvorix-replay [--newline] [--no-wrap] [--graphic FILE.png] INPUT\n";

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--newline") {
      options.newLine = true;
    } else if (argument == "--no-wrap") {
      options.noWrap = true;
    } else if (argument == "--graphic" && i + 1 < argc) {
      options.graphicPath = argv[++i];
    } else if (argument.size() > 1 && argument[0] == '-') {
      return false;
    } else if (options.inputPath.empty()) {
      options.inputPath = argument;
    } else {
      return false;
    }
  }
  return !options.inputPath.empty();
}

// Feeds the input as the receive pump would, each block logged before it is interpreted.
void Replay(NativeTerminal& terminal) {
  std::uint8_t block[100];
  for (;;) {
    const int count = ReadPumpBlock(terminal.platform, block);
    if (count == 0) break;
    terminal.platform.AppendToLog(terminal.window, block, count);
    InterpretReceived(terminal.window, block, count);
  }
  FlushDrawing();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(Usage, stderr);
    return 2;
  }
  std::string input;
  if (!ReadWholeFile(options.inputPath, input)) {
    std::fprintf(stderr, "talvorix-replay: cannot read %s: %s\n", options.inputPath.c_str(),
                 std::strerror(errno));
    return 1;
  }
  NativeTerminal terminal;
  StartNativeTerminal(terminal, true);
  terminal.platform.input.assign(input.begin(), input.end());
  terminal.state->newLine = options.newLine ? 1 : 0;
  terminal.state->autoWrap = options.noWrap ? 0 : 1;
  Replay(terminal);
  const std::string report = ReplayReport(terminal);
  std::fwrite(report.data(), 1, report.size(), stdout);
  if (!options.graphicPath.empty() && !WritePng(options.graphicPath, terminal.platform.graphic)) {
    std::fprintf(stderr, "talvorix-replay: cannot write %s\n", options.graphicPath.c_str());
    return 1;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
