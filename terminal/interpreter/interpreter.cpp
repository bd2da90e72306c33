#include "terminal/interpreter/interpreter.h"

#include "terminal/interpreter/awaited.h"
#include "terminal/interpreter/csi.h"
#include "terminal/interpreter/display_form.h"
#include "terminal/interpreter/esc.h"
#include "terminal/interpreter/messages.h"
#include "terminal/interpreter/screen_edit.h"
#include "terminal/interpreter/sequence_dump.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/interpreter/words.h"

namespace {

constexpr int LastRow = ScreenRows - 1;
constexpr int WrapColumn = ScreenColumns - 2;  // a character here ends the row

// Cursor values written from outside the interpreter are brought onto the
// screen before a character is stored at them.
void KeepCursorOnScreen(TerminalState& state) {
  if (state.cursorRow < 0) state.cursorRow = 0;
  if (state.cursorRow > LastRow) state.cursorRow = LastRow;
  if (state.cursorCol < 0) state.cursorCol = 0;
  if (state.cursorCol > ScreenColumns - 1) state.cursorCol = ScreenColumns - 1;
}

void LineFeed(Terminal& terminal) {
  TerminalState& state = terminal.state;
  if (state.cursorRow == LastRow) {
    ScrollUp(terminal);
  } else {
    ++state.cursorRow;
  }
  terminal.host.PlaceCaret();
}

void CarriageReturn(Terminal& terminal) {
  terminal.state.cursorCol = 0;
  terminal.host.PlaceCaret();
  if (terminal.state.newLine) LineFeed(terminal);
}

void BackSpace(Terminal& terminal) {
  TerminalState& state = terminal.state;
  state.cursorCol = state.cursorCol > 1 ? state.cursorCol - 2 : 0;
  terminal.host.PlaceCaret();
}

void PutCharacter(Terminal& terminal, std::uint16_t word) {
  TerminalState& state = terminal.state;
  std::uint8_t form[2];
  DisplayForm(word, form);
  const int row = state.cursorRow;
  const int col = state.cursorCol;
  const int index = row * ScreenColumns + col;
  state.screen[index] = form[0];
  // At row 199, column 99 the second byte goes to the terminator behind the
  // screen: its first byte in memory, the low byte on this little-endian target.
  if (index + 1 < ScreenCells) {
    state.screen[index + 1] = form[1];
  } else {
    state.screenEnd = std::uint16_t((state.screenEnd & 0xFF00) | form[1]);
  }
  state.cellAttrs[index] = CellAttr{state.fgColour, state.bgColour, state.styleFlags};
  terminal.queue.QueueText(row, col, form, 2, state.fgColour, state.bgColour);
  if (col < WrapColumn) {
    state.cursorCol = col + 2;
  } else if (state.autoWrap) {
    CarriageReturn(terminal);
    LineFeed(terminal);
  }
}

bool IsControlWord(std::uint16_t word) {
  if (word >= 0x21 && word != WordCsi) return false;
  return word == WordBel || word == WordBs || word == WordLf || word == WordCr ||
         word == WordEsc || word == WordCsi;
}

// Characters from word `index` on: those that stay on the cursor row are stored
// in one pass and queued as one run; a character that ends the row goes
// through PutCharacter for the wrap. Returns the index of the first word not
// taken.
int PutCharacters(Terminal& terminal, const std::uint8_t* words, int index, int count) {
  TerminalState& state = terminal.state;
  const int rowStart = state.cursorRow * ScreenColumns;
  const int first = state.cursorCol;
  std::uint8_t* cells = state.screen + rowStart;
  CellAttr* attrs = state.cellAttrs + rowStart;
  const CellAttr attr{state.fgColour, state.bgColour, state.styleFlags};
  int col = first;
  while (index < count && col < WrapColumn) {
    const std::uint16_t word = WordAt(words, index);
    if (IsControlWord(word)) break;
    DisplayForm(word, cells + col);
    attrs[col] = attr;
    col += 2;
    ++index;
  }
  if (col > first) {
    terminal.queue.QueueText(state.cursorRow, first, cells + first, col - first, attr.fg, attr.bg);
    state.cursorCol = col;
  }
  if (index < count && col >= WrapColumn && !IsControlWord(WordAt(words, index))) {
    PutCharacter(terminal, WordAt(words, index));
    ++index;
  }
  return index;
}

enum class Step { Next, Finished, Failed };

Step InterpretCsi(Terminal& terminal, const std::uint8_t* words, int& index, int count) {
  const CsiResult result = index + 1 < count ? ExecuteCsi(terminal, words, index + 1, count)
                                             : CsiResult{CsiOutcome::Incomplete, 0};
  switch (result.outcome) {
    case CsiOutcome::Done:
      index = result.last;
      return Step::Next;
    case CsiOutcome::Error:
      ShowSequenceDump(terminal.host, words + 2 * index, 2 * (count - index));
      ShowFailure(terminal.host, CsiFailedText);
      return Step::Failed;
    case CsiOutcome::Incomplete: break;
  }
  AwaitCut(terminal, Awaited::CutCsi, words + 2 * index, count - index);
  index = count - 1;
  return Step::Finished;
}

Step InterpretEsc(Terminal& terminal, const std::uint8_t* words, int& index, int count) {
  if (index + 1 == count) {
    AwaitCut(terminal, Awaited::EscArgument, words + 2 * index, 1);
    return Step::Finished;
  }
  const int escIndex = index++;
  switch (PerformEsc(terminal, WordAt(words, index), words + 2 * escIndex, 2 * (count - escIndex))) {
    case EscOutcome::Continue: return Step::Next;
    case EscOutcome::BlockFinished: return Step::Finished;
    case EscOutcome::Failed: break;
  }
  return Step::Failed;
}

Step InterpretWord(Terminal& terminal, const std::uint8_t* words, int& index, int count) {
  switch (WordAt(words, index)) {
    case WordBel: terminal.host.Beep(); return Step::Next;
    case WordBs: BackSpace(terminal); return Step::Next;
    case WordCr: CarriageReturn(terminal); return Step::Next;
    case WordLf: LineFeed(terminal); return Step::Next;
    case WordEsc: return InterpretEsc(terminal, words, index, count);
    case WordCsi: return InterpretCsi(terminal, words, index, count);
    default: break;
  }
  index = PutCharacters(terminal, words, index, count) - 1;
  return Step::Next;
}

// A sequence may have changed the font or moved the cursor anywhere.
void FollowPen(Terminal& terminal) {
  KeepCursorOnScreen(terminal.state);
  terminal.queue.SetFont(terminal.state.fontSpec);
}

}  // namespace

// Each step leaves the index at the last word it took.
int InterpretWords(Terminal& terminal, const std::uint8_t* words, int wordCount) {
  FollowPen(terminal);
  int taken = 0;
  while (taken < wordCount) {
    int index = taken;
    const Step step = InterpretWord(terminal, words, index, wordCount);
    if (step == Step::Failed) return wordCount;
    taken = index + 1;
    if (step == Step::Finished) break;
    FollowPen(terminal);
  }
  terminal.host.InvalidateTerminal();
  return taken;
}

void InterpretEchoWord(Terminal& terminal, std::uint16_t word) {
  std::uint8_t pair[2];
  StoreWord(pair, 0, word);
  if (word != WordEsc && word != WordCsi) {
    InterpretWords(terminal, pair, 1);
    return;
  }
  FollowPen(terminal);
  PutCharacter(terminal, word);
  terminal.host.InvalidateTerminal();
}
