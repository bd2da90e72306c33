#include "terminal/interpreter/awaited.h"

#include "terminal/interpreter/messages.h"

namespace {

std::string_view FailureText(ParserState state) {
  switch (state) {
    case ParserState::Ground: return {};
    case ParserState::EscArgument: return CutEscFailedText;
    case ParserState::PointPlot: return PointPlotFailedText;
    default: return CutCsiFailedText;
  }
}

}  // namespace

std::uint64_t AwaitLimit(const WordParser& parser) {
  return parser.state() == ParserState::PointPlot ? PointPlotWaitMilliseconds : CutSequenceWaitMilliseconds;
}

void EndAwaited(Terminal& terminal) {
  InterpreterState& interpreter = terminal.interpreter;
  interpreter.parser.Reset();
  std::vector<std::uint8_t> held;
  held.swap(interpreter.heldUserBytes);
  terminal.SendFromUser(held.data(), int(held.size()));
}

void FailAwaited(Terminal& terminal) {
  const ParserState state = terminal.interpreter.parser.state();
  EndAwaited(terminal);
  ShowFailure(terminal.host, FailureText(state));
}
