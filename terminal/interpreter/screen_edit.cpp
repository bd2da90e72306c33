#include "terminal/interpreter/screen_edit.h"

#include <cstring>

#include "terminal/interpreter/interpreter.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/interpreter/words.h"

namespace {

constexpr int LastRowStart = (ScreenRows - 1) * ScreenColumns;

// 50 full-width blanks, the words EraseLine writes.
struct BlankWords {
  std::uint8_t bytes[ScreenColumns];
  BlankWords() {
    for (int i = 0; i < ScreenColumns / 2; ++i) StoreWord(bytes, i, WordFullWidthSpace);
  }
};
const BlankWords blankWords;

void ClearCells(TerminalState& state, int first, int textEnd, int attrEnd) {
  if (textEnd > first) std::memset(state.screen + first, 0x20, std::size_t(textEnd - first));
  const CellAttr attr{state.fgColour, state.bgColour, state.styleFlags};
  for (int i = first; i < attrEnd; ++i) state.cellAttrs[i] = attr;
}

}  // namespace

void ScrollUp(ScreenModel& model) {
  TerminalState& state = model.state;
  std::memmove(state.screen, state.screen + ScreenColumns, LastRowStart);
  std::memcpy(state.screen + LastRowStart, blankRow, ScreenColumns);
  std::memmove(state.cellAttrs, state.cellAttrs + ScreenColumns, LastRowStart * sizeof(CellAttr));
  for (int i = LastRowStart; i < ScreenCells; ++i) state.cellAttrs[i] = state.defaultAttr;
  model.queue.QueueScroll(state.defaultAttr.fg, state.defaultAttr.bg);
}

void EraseDisplay(ScreenModel& model, int mode) {
  if (mode < 0 || mode > 2) return;
  TerminalState* state = &model.state;
  DrawQueue& queue = model.queue;
  const int cw = state->cellWidth;
  const int ch = state->cellHeight;
  const int row = state->cursorRow;
  const int col = state->cursorCol;
  const int split = ScreenColumns * (row - 1) + col;
  const COLORREF colour = state->bgColour;
  if (mode == 0) {
    queue.QueueFill(col * cw, (row - 1) * ch, ScreenColumns * cw, ch, colour);
    queue.QueueFill(0, row * ch, ScreenColumns * cw, (ScreenRows - row) * ch, colour);
    const int first = split > 0 ? split : 0;
    ClearCells(*state, first, ScreenCells, ScreenCells);
  } else if (mode == 1) {
    queue.QueueFill(0, 0, ScreenColumns * cw, (row - 1) * ch, colour);
    queue.QueueFill(0, (row - 1) * ch, col * cw, ch, colour);
    if (split > 0) ClearCells(*state, 0, split / 2 * 2, split);
  } else {
    queue.QueueFill(0, 0, ScreenColumns * cw + 100, ScreenRows * ch + 100, colour);
    ClearCells(*state, 0, ScreenCells, ScreenCells);
    state->cursorRow = 0;
    state->cursorCol = 0;
  }
  model.host.InvalidateTerminal();
  model.host.PlaceCaret();
  if (mode == 0) model.host.PlaceCaret();
}

void EraseLine(Terminal& terminal, int mode) {
  if (mode < 0 || mode > 2) return;
  TerminalState* state = &terminal.state;
  const int col = state->cursorCol;
  // The blanks are interpreted as whole words. Mode 0 takes the 100 - col bytes
  // up to column 98: from an odd column the odd byte left over is no blank, so
  // nothing reaches column 99 (whose second byte would land on the next row).
  // Mode 1 takes col bytes rounded up, a blank at column col - 1 written whole.
  if (mode == 0) {
    WriteCharacters(terminal, blankWords.bytes, (ScreenColumns - col) / 2);
    state->cursorCol = col;
    terminal.host.PlaceCaret();
  } else if (mode == 1) {
    state->cursorCol = 0;
    WriteCharacters(terminal, blankWords.bytes, (col + 1) / 2);
  } else {
    state->cursorCol = 0;
    WriteCharacters(terminal, blankWords.bytes, ScreenColumns / 2);
    state->cursorCol = 0;
    terminal.host.PlaceCaret();
  }
}
