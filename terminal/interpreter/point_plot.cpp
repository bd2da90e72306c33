#include "terminal/interpreter/point_plot.h"

#include "terminal/interpreter/awaited.h"
#include "terminal/interpreter/csi.h"
#include "terminal/interpreter/terminal.h"
#include "terminal/interpreter/words.h"

namespace {

constexpr int PointDigitLimit = 4;

void StartLine(PointLine& line) {
  line.digits = 0;
  line.overflowed = false;
  line.count = 0;
}

void AddDigit(PointLine& line, std::uint16_t word) {
  if (line.digits == PointCollectorWords) {
    line.overflowed = true;
    return;
  }
  StoreWord(line.collector, line.digits++, word);
}

// Ends the number being collected. False: more than four digits.
bool EndNumber(PointLine& line) {
  int position = 0;
  std::uint16_t value = 0;
  if (line.overflowed ||
      !ParseNumber(line.collector, position, line.digits, PointDigitLimit, value)) {
    return false;
  }
  if (line.count < PointNumberSlots) line.numbers[line.count++] = value;
  line.digits = 0;
  return true;
}

void SendWord(Terminal& terminal, std::uint16_t word) {
  terminal.Transmit(std::uint8_t(word & 0xFF));
  terminal.Transmit(std::uint8_t(word >> 8));
}

void PlotLine(Terminal& terminal, PointLine& line) {
  terminal.plane.SetPixel(int(line.numbers[0]), int(line.numbers[1]), terminal.state.fgColour);
  StartLine(line);
}

// A line the terminal cannot read is refused: NAK, and everything queued on
// the line is discarded, also what has arrived and is not yet interpreted, so
// that the line starts afresh with what the device sends after the NAK.
void RefuseLine(Terminal& terminal, PointLine& line) {
  SendWord(terminal, WordNak);
  terminal.device.Purge();
  terminal.DiscardReceived();
  StartLine(line);
}

}  // namespace

void StartPointPlot(Terminal& terminal) {
  terminal.interpreter.pointLine = PointLine{};
  Await(terminal, Awaited::PointPlot);
}

void TakePointPlotWord(Terminal& terminal, std::uint16_t word) {
  PointLine& line = terminal.interpreter.pointLine;
  if (IsDigitWord(word)) {
    AddDigit(line, word);
  } else if (word == WordSeparator || word == WordCr) {
    if (!EndNumber(line)) return FailAwaited(terminal);
    if (word == WordCr) PlotLine(terminal, line);
  } else if (word == WordEot) {
    SendWord(terminal, WordAck);
    EndAwaited(terminal);  // held keys follow the ACK
  } else {
    RefuseLine(terminal, line);
  }
}
