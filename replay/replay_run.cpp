#include "replay/replay_run.h"

#include "terminal/model/screen_model.h"

namespace {

void ReceiveSession(Terminal& terminal, const std::string& bytes) {
  terminal.Receive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

// What the earlier sessions made the terminal do is not reported.
void ReconnectReplay(HeadlessTerminal& native) {
  Terminal& terminal = *native.terminal;
  terminal.Disconnect();
  terminal.Connect();
  ResetScreenModel(terminal);
  native.platform.events.clear();
  native.platform.sent.clear();
}

void ApplyReplaySettings(Terminal& terminal, const ReplaySettings& settings) {
  terminal.state.newLine = settings.newLine ? 1 : 0;
  terminal.state.autoWrap = settings.noWrap ? 0 : 1;
  terminal.state.localEcho = settings.localEcho ? 1 : 0;
}

void ReplayInput(HeadlessTerminal& native, const std::vector<std::string>& sessions, const ReplaySettings& settings) {
  StartHeadlessTerminal(native, true);
  Terminal& terminal = *native.terminal;
  ApplyReplaySettings(terminal, settings);
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    if (i > 0) ReconnectReplay(native);
    ReceiveSession(terminal, sessions[i]);
  }
  terminal.EndOfInput();
  terminal.queue.Flush();
}
