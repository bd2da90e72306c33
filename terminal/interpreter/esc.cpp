#include "terminal/interpreter/esc.h"

#include "terminal/interpreter/point_plot.h"
#include "terminal/interpreter/screen_edit.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/interpreter/words.h"

namespace {

constexpr std::uint16_t ArgumentSave = 0x2337;     // ７
constexpr std::uint16_t ArgumentRestore = 0x2338;  // ８
constexpr std::uint16_t ArgumentClear = 0x2176;    // ＊
constexpr std::uint16_t ArgumentPointPlot = 0x4540;  // 点
void SaveStyle(TerminalState& state) {
  state.SavedStyle.fgColour = state.fgColour;
  state.SavedStyle.bgColour = state.bgColour;
  CopyFontSpec(state.fontSpec, state.SavedStyle.fontSpec);
}

void RestoreStyle(Terminal& terminal) {
  TerminalState& state = terminal.state;
  state.fgColour = state.SavedStyle.fgColour;
  state.bgColour = state.SavedStyle.bgColour;
  CopyFontSpec(state.SavedStyle.fontSpec, state.fontSpec);
  ApplyFontSpec(terminal);
}

void EnterPointPlot(Terminal& terminal) {
  terminal.Transmit(std::uint8_t(WordAck & 0xFF));
  terminal.Transmit(std::uint8_t(WordAck >> 8));
  StartPointPlot(terminal);
}

}  // namespace

EscOutcome PerformEsc(Terminal& terminal, std::uint16_t argument) {
  switch (argument) {
    case ArgumentSave: SaveStyle(terminal.state); return EscOutcome::Continue;
    case ArgumentRestore: RestoreStyle(terminal); return EscOutcome::Continue;
    case ArgumentClear: EraseDisplay(terminal, 2); return EscOutcome::Continue;
    case ArgumentPointPlot: EnterPointPlot(terminal); return EscOutcome::PointPlot;
    default: return EscOutcome::Failed;
  }
}
