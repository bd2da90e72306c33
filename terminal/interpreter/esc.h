// ESC sequences (one argument word) and point-plot mode.
#pragma once

#include <cstdint>

class Terminal;

enum class EscOutcome {
  Continue,       // go on after the argument word
  BlockFinished,  // point-plot mode started: the words after the argument are its own
  Failed,         // the user has been told; the block stops here
};

// Performs ESC with its argument. `sequence` and `byteLength` are what a failure
// dumps: the words from ESC to the end of the block.
EscOutcome PerformEsc(Terminal& terminal, std::uint16_t argument, const std::uint8_t* sequence,
                      int byteLength);
