#include "tools/replay/replay_run.h"

void ReplayInput(NativeTerminal& native, const std::string& input, const ReplaySettings& settings) {
  StartNativeTerminal(native, true);
  Terminal& terminal = *native.terminal;
  terminal.state.newLine = settings.newLine ? 1 : 0;
  terminal.state.autoWrap = settings.noWrap ? 0 : 1;
  terminal.state.localEcho = settings.localEcho ? 1 : 0;
  terminal.Receive(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
  terminal.EndOfInput();
  terminal.queue.Flush();
}
