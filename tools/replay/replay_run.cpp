#include "tools/replay/replay_run.h"

#include <cstdint>

#include "terminal/interpreter/interpreter.h"
#include "terminal/model/terminal_model.h"

void ReplayInput(NativeTerminal& terminal, const std::string& input, const ReplaySettings& settings) {
  StartNativeTerminal(terminal, true);
  terminal.platform.input.assign(input.begin(), input.end());
  terminal.state->newLine = settings.newLine ? 1 : 0;
  terminal.state->autoWrap = settings.noWrap ? 0 : 1;
  terminal.state->localEcho = settings.localEcho ? 1 : 0;
  std::uint8_t block[100];
  for (;;) {
    const int count = ReadPumpBlock(terminal.platform, block);
    if (count == 0) break;
    terminal.platform.AppendToLog(terminal.window, block, count);
    InterpretReceived(terminal.window, block, count);
  }
  FlushDrawing();
}
