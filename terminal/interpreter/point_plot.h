// Point-plot mode: after ESC 点 the device sends lines "x；y" CR of full-width
// digits, each plotted on the graphic plane, until EOT. The terminal answers
// EOT with ACK and a line it cannot read with NAK. The parser
// (word_parser.h) reads the lines; this is what they do.
#pragma once

#include <cstdint>

class Terminal;

// Enters point-plot mode (the caller has sent the ACK for ESC 点).
void StartPointPlot(Terminal& terminal);

// Takes the next word of point-plot mode. EOT ends the mode after its ACK; a
// number of more than four digits ends it with a failure.
void TakePointPlotWord(Terminal& terminal, std::uint16_t word);
