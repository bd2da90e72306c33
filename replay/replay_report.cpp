#include "replay/replay_report.h"

#include <cstdio>

#include "terminal/native/cp932_text.h"

namespace {

void StripTrailingBlanks(std::string& text) {
  static const std::string ideographicSpace = "\xE3\x80\x80";
  for (;;) {
    if (!text.empty() && text.back() == ' ') {
      text.pop_back();
    } else if (text.size() >= 3 && text.compare(text.size() - 3, 3, ideographicSpace) == 0) {
      text.resize(text.size() - 3);
    } else {
      return;
    }
  }
}

}  // namespace

std::string ScreenRowText(const TerminalState& state, int row) {
  return CellRowText(state.screen + row * ScreenColumns);
}

std::string CellRowText(const std::uint8_t* row) {
  std::string text = Cp932ToUtf8(row, ScreenColumns);
  StripTrailingBlanks(text);
  return text;
}

std::string ReplayReport(const HeadlessTerminal& terminal) {
  std::string report;
  for (const std::string& event : terminal.platform.events) report += event + "\n";
  report += "screen\n";
  const TerminalState& state = terminal.state();
  for (int row = 0; row < ScreenRows; ++row) report += ScreenRowText(state, row) + "\n";
  char line[64];
  std::snprintf(line, sizeof line, "cursor %d %d\nstyle %06X %06X %02X\n", int(state.cursorRow),
                int(state.cursorCol), unsigned(state.fgColour), unsigned(state.bgColour),
                unsigned(state.styleFlags));
  report += line;
  return report;
}
