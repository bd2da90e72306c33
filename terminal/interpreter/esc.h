// ESC sequences (one argument word) and point-plot mode.
#pragma once

#include <cstdint>

class Terminal;

enum class EscOutcome {
  Continue,   // go on after the argument word
  PointPlot,  // point-plot mode started: the words after the argument are its own
  Failed,     // an argument no ESC form has: a sequence error
};

// Performs ESC with its argument.
EscOutcome PerformEsc(Terminal& terminal, std::uint16_t argument);
