// Point-plot mode: after ESC 点 the device sends lines "x；y" CR of full-width
// digits, each plotted on the graphic plane, until EOT. The terminal answers
// EOT with ACK and a line it cannot read with NAK.
#pragma once

#include <cstdint>

class Terminal;

constexpr int PointCollectorWords = 52;
constexpr int PointNumberSlots = 6;

// The line being received. A number of more digits than the collector holds
// can only fail (four digits at most), so digits past its end are counted, not
// stored; numbers past the sixth are checked but not kept, since only the first
// two are plotted.
struct PointLine {
  std::uint8_t collector[2 * PointCollectorWords] = {};
  int digits = 0;
  bool overflowed = false;
  std::uint32_t numbers[PointNumberSlots] = {};  // kept from line to line
  int count = 0;
};

// Enters point-plot mode (the caller has sent the ACK for ESC 点). The number
// store starts at zero, so a first line with fewer than two numbers plots at 0
// for what it lacks.
void StartPointPlot(Terminal& terminal);

// Takes the next word of point-plot mode. EOT ends the mode after its ACK; a
// number of more than four digits ends it with a failure.
void TakePointPlotWord(Terminal& terminal, std::uint16_t word);
