#include "terminal/interpreter/interpreter.h"

#include "terminal/interpreter/csi.h"
#include "terminal/interpreter/display_form.h"
#include "terminal/interpreter/esc.h"
#include "terminal/interpreter/messages.h"
#include "terminal/interpreter/port_words.h"
#include "terminal/interpreter/screen_edit.h"
#include "terminal/interpreter/sequence_dump.h"
#include "terminal/interpreter/word_interpreter.h"
#include "terminal/interpreter/words.h"
#include "terminal/model/draw_queue.h"
#include "terminal/model/platform.h"

namespace {

constexpr int LastRow = ScreenRows - 1;
constexpr int WrapColumn = ScreenColumns - 2;  // a character here ends the row
// A valid CSI sequence has at most 41 words; a cut one that grows past this
// many words can never complete and is rejected.
constexpr int CutSequenceCapacity = 64;

// The first byte of a local echo, waiting for the second byte of its word.
int pendingEchoByte = -1;

// Cursor values written from outside the interpreter are brought onto the
// screen before a character is stored at them.
void KeepCursorOnScreen(TerminalState& state) {
  if (state.cursorRow < 0) state.cursorRow = 0;
  if (state.cursorRow > LastRow) state.cursorRow = LastRow;
  if (state.cursorCol < 0) state.cursorCol = 0;
  if (state.cursorCol > ScreenColumns - 1) state.cursorCol = ScreenColumns - 1;
}

void LineFeed(Window window, TerminalState& state) {
  if (state.cursorRow == LastRow) {
    ScrollUp(state);
  } else {
    ++state.cursorRow;
  }
  platform->PlaceTerminalCaret(window);
}

void CarriageReturn(Window window, TerminalState& state) {
  state.cursorCol = 0;
  platform->PlaceTerminalCaret(window);
  if (state.newLine) LineFeed(window, state);
}

void BackSpace(Window window, TerminalState& state) {
  state.cursorCol = state.cursorCol > 1 ? state.cursorCol - 2 : 0;
  platform->PlaceTerminalCaret(window);
}

void PutCharacter(Window window, TerminalState& state, std::uint16_t word) {
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
  QueueText(row, col, form, 2, state.fgColour, state.bgColour);
  if (col < WrapColumn) {
    state.cursorCol = col + 2;
  } else if (state.autoWrap) {
    CarriageReturn(window, state);
    LineFeed(window, state);
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
int PutCharacters(Window window, TerminalState& state, const std::uint8_t* words, int index,
                  int count) {
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
    QueueText(state.cursorRow, first, cells + first, col - first, attr.fg, attr.bg);
    state.cursorCol = col;
  }
  if (index < count && col >= WrapColumn && !IsControlWord(WordAt(words, index))) {
    PutCharacter(window, state, WordAt(words, index));
    ++index;
  }
  return index;
}

// Reads the rest of a CSI sequence that the end of the block cut short, then
// interprets the whole sequence. Returns 1 when it was completed (the block is
// then finished), 0 after telling the user it could not be.
int CompleteCutCsi(Window window, const std::uint8_t* sequence, int wordCount) {
  std::uint8_t collected[2 * CutSequenceCapacity];
  if (wordCount > CutSequenceCapacity) {
    ShowFailure(window, CutCsiFailedText);
    return 0;
  }
  int count = 0;
  for (; count < wordCount; ++count) StoreWord(collected, count, WordAt(sequence, count));
  for (;;) {
    std::uint16_t word = 0;
    const PortWord read = ReadPortWord(window, word, CutSequenceWaitMilliseconds);
    // A word the log could not take is still the device's: it is acted on.
    const bool arrived = read == PortWord::Arrived || read == PortWord::ArrivedNotLogged;
    const bool extends = IsDigitWord(word) || word == WordSeparator;
    const bool final = IsFinalWord(word);
    if (!arrived || !(extends || final) || count == CutSequenceCapacity) {
      ShowFailure(window, CutCsiFailedText);
      return 0;
    }
    StoreWord(collected, count++, word);
    if (final) {
      InterpretWords(window, collected, count);
      return 1;
    }
  }
}

enum class Step { Next, Finished, Failed };

Step InterpretCsi(Window window, const std::uint8_t* words, int& index, int count) {
  const CsiResult result = index + 1 < count ? ExecuteCsi(window, words, index + 1, count)
                                             : CsiResult{CsiOutcome::Incomplete, 0};
  switch (result.outcome) {
    case CsiOutcome::Done:
      index = result.last;
      return Step::Next;
    case CsiOutcome::Error:
      ShowSequenceDump(window, words + 2 * index, 2 * (count - index));
      ShowFailure(window, CsiFailedText);
      return Step::Failed;
    case CsiOutcome::Incomplete: break;
  }
  return CompleteCutCsi(window, words + 2 * index, count - index) ? Step::Finished : Step::Failed;
}

Step InterpretEsc(Window window, TerminalState& state, const std::uint8_t* words, int& index,
                  int count) {
  const int escIndex = index;
  std::uint16_t argument = 0;
  int dumpWords = count - escIndex;
  if (index + 1 < count) {
    argument = WordAt(words, ++index);
  } else {
    const PortWord read = ReadPortWord(window, argument, CutSequenceWaitMilliseconds);
    if (read != PortWord::Arrived && read != PortWord::ArrivedNotLogged) {
      ShowFailure(window, CutEscFailedText);
      return Step::Failed;
    }
    dumpWords = 1;  // the argument is not part of the block: the dump shows ESC alone
  }
  switch (PerformEsc(window, state, argument, words + 2 * escIndex, 2 * dumpWords)) {
    case EscOutcome::Continue: return Step::Next;
    case EscOutcome::BlockFinished: return Step::Finished;
    case EscOutcome::Failed: break;
  }
  return Step::Failed;
}

// An echoed ESC or CSI would continue in what the terminal sends, not in what
// it receives, so the echo shows such a word as a character instead of waiting
// for the rest of a sequence from the device.
int InterpretEchoWord(Window window, TerminalState& state, const std::uint8_t pair[2]) {
  const std::uint16_t word = WordAt(pair, 0);
  if (word != WordEsc && word != WordCsi) return InterpretWords(window, pair, 1);
  KeepCursorOnScreen(state);
  SetDrawingFont(state.fontSpec);
  PutCharacter(window, state, word);
  platform->InvalidateTerminal(window);
  return 1;
}

}  // namespace

int InterpretWords(Window window, const std::uint8_t* words, int wordCount) {
  TerminalState* state = platform->StateOf(window);
  if (state == nullptr) return 0;
  KeepCursorOnScreen(*state);
  SetDrawingFont(state->fontSpec);
  for (int i = 0; i < wordCount; ++i) {
    const std::uint16_t word = WordAt(words, i);
    Step step = Step::Next;
    switch (word) {
      case WordBel: platform->Beep(); break;
      case WordBs: BackSpace(window, *state); break;
      case WordCr: CarriageReturn(window, *state); break;
      case WordLf: LineFeed(window, *state); break;
      case WordEsc: step = InterpretEsc(window, *state, words, i, wordCount); break;
      case WordCsi: step = InterpretCsi(window, words, i, wordCount); break;
      default: i = PutCharacters(window, *state, words, i, wordCount) - 1; continue;
    }
    if (step == Step::Failed) return 0;
    if (step == Step::Finished) break;
    // A sequence may have changed the font or moved the cursor anywhere.
    KeepCursorOnScreen(*state);
    SetDrawingFont(state->fontSpec);
  }
  platform->InvalidateTerminal(window);
  return 1;
}

// Local echo hands over one byte at a time: the two bytes of a word are
// gathered across calls and the word is interpreted when it is complete.
// Other blocks hold whole words; an odd last byte is never read.
int InterpretReceived(Window terminalWindow, const std::uint8_t* words, int byteLength) {
  if (byteLength != 1) return InterpretWords(terminalWindow, words, byteLength > 0 ? byteLength / 2 : 0);
  TerminalState* state = platform->StateOf(terminalWindow);
  if (state == nullptr) return 0;
  if (pendingEchoByte < 0) {
    pendingEchoByte = words[0];
    return 1;
  }
  const std::uint8_t pair[2] = {std::uint8_t(pendingEchoByte), words[0]};
  pendingEchoByte = -1;
  return InterpretEchoWord(terminalWindow, *state, pair);
}

void RestartLocalEcho() { pendingEchoByte = -1; }
