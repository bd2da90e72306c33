#include "terminal/interpreter/point_plot.h"

#include "terminal/interpreter/awaited.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/interpreter/words.h"

namespace {

void SendWord(Terminal& terminal, std::uint16_t word) {
  terminal.Transmit(std::uint8_t(word & 0xFF));
  terminal.Transmit(std::uint8_t(word >> 8));
}

// A line the terminal cannot read is refused: NAK, and everything queued on
// the line is discarded, also what has arrived and is not yet interpreted, so
// that the line starts afresh with what the device sends after the NAK.
void RefuseLine(Terminal& terminal) {
  SendWord(terminal, WordNak);
  terminal.device.Purge();
  terminal.DiscardReceived();
}

}  // namespace

void StartPointPlot(Terminal& terminal) {
  terminal.interpreter.parser.StartPointPlot();
  terminal.interpreter.waitSince = terminal.clock.Milliseconds();
}

void TakePointPlotWord(Terminal& terminal, std::uint16_t word) {
  const WordParser& parser = terminal.interpreter.parser;
  switch (terminal.interpreter.parser.Take(word)) {
    case Parsed::PointPlot:
      terminal.plane.SetPixel(parser.pointX(), parser.pointY(), terminal.state.fgColour);
      break;
    case Parsed::PointEnd:
      SendWord(terminal, WordAck);
      EndAwaited(terminal);  // held keys follow the ACK
      break;
    case Parsed::PointRefused: RefuseLine(terminal); break;
    case Parsed::PointFailed: FailAwaited(terminal); break;
    default: break;
  }
}
