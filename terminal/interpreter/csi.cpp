#include "terminal/interpreter/csi.h"

#include "terminal/interpreter/screen_edit.h"
#include "terminal/interpreter/sgr.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/interpreter/words.h"

namespace {

constexpr int LastRow = ScreenRows - 1;    // 199
constexpr int LastCharColumn = ScreenColumns - 2;  // 98

constexpr std::uint16_t WordA = 0x2341, WordB = 0x2342, WordC = 0x2343, WordD = 0x2344,
                        WordE = 0x2345, WordH = 0x2348, WordJ = 0x234A, WordK = 0x234B,
                        WordM = 0x234D, WordSmallF = 0x2366, WordSmallM = 0x236D,
                        WordSmallS = 0x2373, WordSmallU = 0x2375, WordColour = 0x3F27,
                        WordBackground = 0x374A, WordErase = 0x3E43, WordPoint = 0x4540,
                        WordView = 0x4C4C, WordDigitFive = 0x2335, WordAsciiL = 0x006C,
                        WordAsciiH = 0x0068;

int AtMost(int value, int limit) { return value > limit ? limit : value; }
int AtLeastZero(int value) { return value < 0 ? 0 : value; }

void MoveCursor(Terminal& terminal, int row, int col) {
  terminal.state.cursorRow = row;
  terminal.state.cursorCol = col;
  terminal.host.PlaceCaret();
}

COLORREF ColourOf(const std::uint16_t* p) { return MakeColour(p[0] & 0xFF, p[1] & 0xFF, p[2] & 0xFF); }

}  // namespace

void ExecuteBareFinal(Terminal& terminal, std::uint16_t word) {
  TerminalState& state = terminal.state;
  const int row = state.cursorRow;
  const int col = state.cursorCol;
  switch (word) {
    case WordA: case WordM: MoveCursor(terminal, AtLeastZero(row - 1), col); return;
    case WordB: case WordE: MoveCursor(terminal, AtMost(row + 1, LastRow), col); return;
    case WordC: MoveCursor(terminal, row, AtMost(col + 2, LastCharColumn)); return;
    case WordD: MoveCursor(terminal, row, AtLeastZero(col - 2)); return;
    case WordH: MoveCursor(terminal, 0, 0); return;
    case WordSmallS:
      state.SavedCursor.cursorCol = col;
      state.SavedCursor.cursorRow = row;
      return;
    case WordSmallU: MoveCursor(terminal, state.SavedCursor.cursorRow, state.SavedCursor.cursorCol); return;
    case WordErase:
      terminal.plane.Fill(0, 0, GraphicWidth, GraphicHeight, state.bgColour);
      return;
    default: return;
  }
}

bool ExecuteFinal(Terminal& terminal, std::uint16_t final, const std::uint16_t* p, int count) {
  TerminalState& state = terminal.state;
  const int row = state.cursorRow;
  const int col = state.cursorCol;
  switch (final) {
    case WordA: if (count != 1) return false; MoveCursor(terminal, AtLeastZero(row - p[0]), col); return true;
    case WordB: if (count != 1) return false; MoveCursor(terminal, AtMost(row + p[0], LastRow), col); return true;
    case WordC: if (count != 1) return false; MoveCursor(terminal, row, AtMost(col + p[0], LastCharColumn)); return true;
    case WordD: if (count != 1) return false; MoveCursor(terminal, row, AtLeastZero(col - p[0])); return true;
    case WordH:
    case WordSmallF:
      if (count != 2) return false;
      MoveCursor(terminal, AtMost(p[0], LastRow - 1), AtMost(p[1], LastCharColumn));
      return true;
    case WordJ: if (count != 1 || p[0] > 2) return false; EraseDisplay(terminal, p[0]); return true;
    case WordK: if (count != 1 || p[0] > 2) return false; EraseLine(terminal, p[0]); return true;
    case WordSmallM:
      for (int i = 0; i < count; ++i) ApplySgr(terminal, p[i]);
      return true;
    case WordColour: if (count != 3) return false; state.fgColour = ColourOf(p); return true;
    case WordBackground: if (count != 3) return false; state.bgColour = ColourOf(p); return true;
    case WordErase:
      if (count != 4) return false;
      if ((p[0] >= GraphicWidth && p[2] >= GraphicWidth) || (p[1] >= GraphicHeight && p[3] >= GraphicHeight)) return false;
      // The plane's own brush, white, whatever the colours are.
      terminal.plane.Fill(p[0], p[1], p[2], p[3], PlaneWhite);
      return true;
    case WordPoint:
      if (count != 2 || p[0] >= GraphicWidth || p[1] >= GraphicHeight) return false;
      terminal.plane.SetPixel(p[0], p[1], state.fgColour);
      return true;
    case WordView:
      if (count != 1 || p[0] > 2) return false;
      terminal.host.ShowView(TerminalView(p[0]));
      terminal.host.InvalidateTerminal();
      return true;
    default: return false;
  }
}

void ExecutePrivate(Terminal& terminal, std::uint16_t selector, std::uint16_t last) {
  if (selector != WordDigitFive) return;
  if (last == WordAsciiL) terminal.host.ShowCaret();
  if (last == WordAsciiH) terminal.host.HideCaret();
}
