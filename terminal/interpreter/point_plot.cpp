#include "terminal/interpreter/csi.h"
#include "terminal/interpreter/esc.h"
#include "terminal/interpreter/port_words.h"
#include "terminal/interpreter/words.h"
#include "terminal/model/platform.h"

namespace {

constexpr int CollectorWords = 52;
constexpr int NumberSlots = 6;
constexpr int PointDigitLimit = 4;

// The line being received. A number of more digits than the collector holds
// can only fail (four digits at most), so digits past its end are counted, not
// stored; numbers past the sixth are checked but not kept, since only the first
// two are plotted.
struct PointLine {
  std::uint8_t collector[2 * CollectorWords];
  int digits = 0;
  bool overflowed = false;
  std::uint32_t numbers[NumberSlots] = {};  // kept from line to line
  int count = 0;
};

void StartLine(PointLine& line) {
  line.digits = 0;
  line.overflowed = false;
  line.count = 0;
}

void AddDigit(PointLine& line, std::uint16_t word) {
  if (line.digits == CollectorWords) {
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
  if (line.count < NumberSlots) line.numbers[line.count++] = value;
  line.digits = 0;
  return true;
}

void SendWord(Window window, std::uint16_t word) {
  platform->TransmitByte(window, word & 0xFF);
  platform->TransmitByte(window, word >> 8);
}

}  // namespace

int RunPointPlot(Window window) {
  TerminalState* state = platform->StateOf(window);
  if (state == nullptr) return 0;
  // The number store starts at zero, so a first line with fewer than two
  // numbers plots at 0 for what it lacks.
  PointLine line;
  for (;;) {
    std::uint16_t word = 0;
    if (ReadPortWord(window, word, PointPlotWaitMilliseconds) != PortWord::Arrived) return 0;
    if (IsDigitWord(word)) {
      AddDigit(line, word);
    } else if (word == WordSeparator) {
      if (!EndNumber(line)) return 0;
    } else if (word == WordCr) {
      if (!EndNumber(line)) return 0;
      platform->SetPixel(Canvas::Graphic, int(line.numbers[0]), int(line.numbers[1]),
                         state->fgColour);
      StartLine(line);
    } else if (word == WordEot) {
      SendWord(window, WordAck);
      return 0xFF;
    } else {
      SendWord(window, WordNak);
      platform->PurgePort(window);
      platform->PauseMilliseconds(1);
      StartLine(line);
    }
  }
}
