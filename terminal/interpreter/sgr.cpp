#include "terminal/interpreter/sgr.h"

#include <utility>

#include "terminal/model/screen_model.h"

namespace {

constexpr COLORREF SgrColours[8] = {
    MakeColour(0, 0, 0),     MakeColour(255, 0, 0),   MakeColour(0, 255, 0),
    MakeColour(255, 255, 0), MakeColour(0, 0, 255),   MakeColour(255, 0, 255),
    MakeColour(0, 255, 255), MakeColour(255, 255, 255),
};

void ResetAttributes(ScreenModel& model) {
  TerminalState& state = model.state;
  const ResetDefaults& defaults = state.resetDefaults;
  state.cursorCol = defaults.cursorCol;
  state.cursorRow = defaults.cursorRow;
  model.host.PlaceCaret();
  state.fgColour = defaults.fgColour;
  state.bgColour = defaults.bgColour;
  CopyFontSpec(defaults.fontSpec, state.fontSpec);
  state.styleFlags |= StyleReset;
}

void SetStyle(TerminalState& state, std::uint32_t flag, bool on) {
  if (on) {
    state.styleFlags |= flag;
  } else {
    state.styleFlags &= ~flag;
  }
}

}  // namespace

void ApplySgr(ScreenModel& model, std::uint16_t code) {
  TerminalState& state = model.state;
  switch (code) {
    case 0: ResetAttributes(model); return;
    case 1: state.fontSpec.lfWeight = 700; SetStyle(state, StyleBold, true); return;
    case 22: state.fontSpec.lfWeight = 400; SetStyle(state, StyleBold, false); return;
    case 4: state.fontSpec.lfUnderline = 1; SetStyle(state, StyleUnderline, true); return;
    case 24: state.fontSpec.lfUnderline = 0; SetStyle(state, StyleUnderline, false); return;
    case 6: state.fontSpec.lfItalic = 1; SetStyle(state, StyleItalic, true); return;
    case 26: state.fontSpec.lfItalic = 0; SetStyle(state, StyleItalic, false); return;
    case 7:
    case 27:
      std::swap(state.fgColour, state.bgColour);
      SetStyle(state, StyleReverse, code == 7);
      return;
    default: break;
  }
  if (code >= 30 && code <= 37) state.fgColour = SgrColours[code - 30];
  if (code >= 40 && code <= 47) state.bgColour = SgrColours[code - 40];
}
