#include "terminal/interpreter/awaited.h"

#include <cstring>

#include "terminal/interpreter/interpreter.h"
#include "terminal/interpreter/messages.h"

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
  terminal.interpreter.waitSince = terminal.clock.Milliseconds();
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

// The grammar decides every CSI sequence within 41 words; the store refuses
// more all the same, so that it can never overflow.
void AwaitCut(Terminal& terminal, Awaited what, const std::uint8_t* sequence, int wordCount) {
  InterpreterState& interpreter = terminal.interpreter;
  Await(terminal, what);
  if (wordCount > CutSequenceCapacity) return FailAwaited(terminal);
  std::memcpy(interpreter.cutWords, sequence, std::size_t(2 * wordCount));
  interpreter.cutCount = wordCount;
}

int ContinueCut(Terminal& terminal, const std::uint8_t* words, int wordCount) {
  InterpreterState& interpreter = terminal.interpreter;
  // A copy: interpreting may cut the sequence again and store it anew.
  std::uint8_t block[sizeof interpreter.cutWords + PumpBlockBytes];
  const int cut = interpreter.cutCount;
  std::memcpy(block, interpreter.cutWords, std::size_t(2 * cut));
  std::memcpy(block + 2 * cut, words, std::size_t(2 * wordCount));
  EndAwaited(terminal);
  return InterpretWords(terminal, block, cut + wordCount) - cut;
}
