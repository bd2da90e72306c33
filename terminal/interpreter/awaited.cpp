#include "terminal/interpreter/awaited.h"

#include "terminal/interpreter/csi.h"
#include "terminal/interpreter/esc.h"
#include "terminal/interpreter/interpreter.h"
#include "terminal/interpreter/messages.h"
#include "terminal/interpreter/words.h"

namespace {

std::string_view FailureText(Awaited what) {
  switch (what) {
    case Awaited::CutCsi: return CutCsiFailedText;
    case Awaited::EscArgument: return CutEscFailedText;
    case Awaited::PointPlot: return PointPlotFailedText;
    case Awaited::Nothing: break;
  }
  return {};
}

}  // namespace

void Await(Terminal& terminal, Awaited what) {
  terminal.interpreter.awaited = what;
  terminal.interpreter.lastWordAt = terminal.clock.Milliseconds();
}

void EndAwaited(Terminal& terminal) {
  InterpreterState& interpreter = terminal.interpreter;
  interpreter.awaited = Awaited::Nothing;
  std::vector<std::uint8_t> held;
  held.swap(interpreter.heldUserBytes);
  terminal.SendFromUser(held.data(), int(held.size()));
}

void FailAwaited(Terminal& terminal) {
  const Awaited what = terminal.interpreter.awaited;
  // Ground before the message box, which lets the program run: pushes made
  // meanwhile must not feed what has failed.
  EndAwaited(terminal);
  ShowFailure(terminal.host, FailureText(what));
}

void AwaitCutCsi(Terminal& terminal, const std::uint8_t* sequence, int wordCount) {
  InterpreterState& interpreter = terminal.interpreter;
  if (wordCount > CutSequenceCapacity) {
    ShowFailure(terminal.host, CutCsiFailedText);
    return;
  }
  for (int i = 0; i < wordCount; ++i) StoreWord(interpreter.cutWords, i, WordAt(sequence, i));
  interpreter.cutCount = wordCount;
  Await(terminal, Awaited::CutCsi);
}

void TakeCutCsiWord(Terminal& terminal, std::uint16_t word) {
  InterpreterState& interpreter = terminal.interpreter;
  const bool extends = IsDigitWord(word) || word == WordSeparator;
  const bool final = IsFinalWord(word);
  if (!(extends || final) || interpreter.cutCount == CutSequenceCapacity) {
    return FailAwaited(terminal);
  }
  StoreWord(interpreter.cutWords, interpreter.cutCount++, word);
  if (!final) return;
  EndAwaited(terminal);
  // A copy: the sequence may fail, and its message box lets new pushes in.
  std::uint8_t sequence[sizeof interpreter.cutWords];
  const int count = interpreter.cutCount;
  for (int i = 0; i < count; ++i) StoreWord(sequence, i, WordAt(interpreter.cutWords, i));
  InterpretWords(terminal, sequence, count);
}

void TakeEscArgument(Terminal& terminal, std::uint16_t argument) {
  EndAwaited(terminal);
  // The argument was not part of the block: a dump shows the ESC alone.
  std::uint8_t esc[2];
  StoreWord(esc, 0, WordEsc);
  PerformEsc(terminal, argument, esc, 2);
}
