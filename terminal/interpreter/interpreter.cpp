#include "terminal/interpreter/interpreter.h"

#include "terminal/interpreter/csi.h"
#include "terminal/interpreter/display_form.h"
#include "terminal/interpreter/esc.h"
#include "terminal/interpreter/messages.h"
#include "terminal/interpreter/screen_edit.h"
#include "terminal/interpreter/sequence_dump.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/interpreter/word_parser.h"
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

enum class Step { Pending, Next, Finished, Failed };

void PerformControl(Terminal& terminal, std::uint16_t word) {
  switch (word) {
    case WordBel: terminal.host.Beep(); break;
    case WordBs: BackSpace(terminal); break;
    case WordCr: CarriageReturn(terminal); break;
    default: LineFeed(terminal); break;
  }
}

Step PerformParsed(Terminal& terminal, Parsed parsed, std::uint16_t word) {
  const WordParser& parser = terminal.interpreter.parser;
  switch (parsed) {
    case Parsed::Control: PerformControl(terminal, word); return Step::Next;
    case Parsed::CsiBare: ExecuteBareFinal(terminal, word); return Step::Next;
    case Parsed::CsiNumbers:
      if (ExecuteFinal(terminal, word, parser.parameters(), parser.parameterCount())) return Step::Next;
      return Step::Failed;
    case Parsed::CsiPrivate: ExecutePrivate(terminal, parser.selector(), word); return Step::Next;
    case Parsed::Esc:
      switch (PerformEsc(terminal, word)) {
        case EscOutcome::Continue: return Step::Next;
        case EscOutcome::PointPlot: return Step::Finished;
        case EscOutcome::Failed: return Step::Failed;
      }
      return Step::Failed;
    case Parsed::Error: return Step::Failed;
    default: return Step::Pending;  // a sequence goes on
  }
}

// What the user is shown of a failed sequence: its words, from its ESC or CSI
// on, and the rest of its block, which is dropped.
void ReportFailure(Terminal& terminal, const std::uint8_t* rest, int restWords) {
  const WordParser& parser = terminal.interpreter.parser;
  std::uint8_t shown[2 * (LongestSequenceWords + PumpBlockBytes / 2)];
  const int length = parser.sequenceLength();
  for (int i = 0; i < length; ++i) StoreWord(shown, i, parser.sequence()[i]);
  for (int i = 0; i < restWords; ++i) StoreWord(shown, length + i, WordAt(rest, i));
  ShowSequenceDump(terminal.host, shown, 2 * (length + restWords));
  ShowFailure(terminal.host, parser.sequence()[0] == WordEsc ? EscFailedText : CsiFailedText);
}

// A sequence may have changed the font or moved the cursor anywhere.
void FollowPen(Terminal& terminal) {
  KeepCursorOnScreen(terminal.state);
  terminal.queue.SetFont(terminal.state.fontSpec);
}

}  // namespace

// Runs of text in ground are stored in one pass; every other word goes
// through the parser.
int InterpretBlock(Terminal& terminal, const std::uint8_t* words, int wordCount) {
  WordParser& parser = terminal.interpreter.parser;
  FollowPen(terminal);
  int index = 0;
  while (index < wordCount) {
    const std::uint16_t word = WordAt(words, index);
    Step step = Step::Next;
    if (parser.InGround() && !IsControlWord(word)) {
      index = PutCharacters(terminal, words, index, wordCount);
    } else {
      const Parsed parsed = parser.TakeWords(words, index, wordCount);
      step = PerformParsed(terminal, parsed, WordAt(words, index - 1));
    }
    if (step == Step::Failed) {
      ReportFailure(terminal, words + 2 * index, wordCount - index);
      return wordCount;
    }
    if (step == Step::Finished) break;
    if (step != Step::Pending) FollowPen(terminal);
  }
  terminal.host.InvalidateTerminal();
  return index;
}

void InterpretEchoWord(Terminal& terminal, std::uint16_t word) {
  FollowPen(terminal);
  if (word == WordBel || word == WordBs || word == WordCr || word == WordLf) {
    PerformControl(terminal, word);
  } else {
    PutCharacter(terminal, word);
  }
  terminal.host.InvalidateTerminal();
}

void WriteCharacters(Terminal& terminal, const std::uint8_t* words, int wordCount) {
  FollowPen(terminal);
  for (int index = 0; index < wordCount;) index = PutCharacters(terminal, words, index, wordCount);
  terminal.host.InvalidateTerminal();
}
