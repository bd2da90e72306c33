#include "terminal/interpreter/esc.h"

#include "terminal/interpreter/messages.h"
#include "terminal/interpreter/screen_edit.h"
#include "terminal/interpreter/sequence_dump.h"
#include "terminal/interpreter/words.h"
#include "terminal/model/platform.h"
#include "terminal/model/terminal_model.h"

namespace {

constexpr std::uint16_t ArgumentSave = 0x2337;     // ７
constexpr std::uint16_t ArgumentRestore = 0x2338;  // ８
constexpr std::uint16_t ArgumentClear = 0x2176;    // ＊
constexpr std::uint16_t ArgumentPointPlot = 0x4540;  // 点
constexpr int PointPlotEnded = 0xFF;

void SaveStyle(const TerminalState& state) {
  SavedStyle.fgColour = state.fgColour;
  SavedStyle.bgColour = state.bgColour;
  CopyFontSpec(state.fontSpec, SavedStyle.fontSpec);
}

void RestoreStyle(Window window, TerminalState& state) {
  state.fgColour = SavedStyle.fgColour;
  state.bgColour = SavedStyle.bgColour;
  CopyFontSpec(SavedStyle.fontSpec, state.fontSpec);
  ApplyFontSpec(window, &state);
}

}  // namespace

EscOutcome PerformEsc(Window window, TerminalState& state, std::uint16_t argument,
                      const std::uint8_t* sequence, int byteLength) {
  switch (argument) {
    case ArgumentSave: SaveStyle(state); return EscOutcome::Continue;
    case ArgumentRestore: RestoreStyle(window, state); return EscOutcome::Continue;
    case ArgumentClear: EraseDisplay(window, 2); return EscOutcome::Continue;
    case ArgumentPointPlot:
      platform->TransmitByte(window, WordAck & 0xFF);
      platform->TransmitByte(window, WordAck >> 8);
      if (RunPointPlot(window) == PointPlotEnded) return EscOutcome::BlockFinished;
      ShowFailure(window, PointPlotFailedText);
      return EscOutcome::Failed;
    default:
      ShowSequenceDump(window, sequence, byteLength);
      ShowFailure(window, EscFailedText);
      return EscOutcome::Failed;
  }
}
