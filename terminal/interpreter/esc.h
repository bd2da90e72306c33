// ESC sequences (one argument word) and point-plot mode.
#pragma once

#include <cstdint>

#include "terminal/model/terminal_state.h"

enum class EscOutcome {
  Continue,       // go on after the argument word
  BlockFinished,  // point-plot mode ended: the rest of the block is dropped
  Failed,         // the user has been told; the block stops here
};

// Performs ESC with its argument. `sequence` and `byteLength` are what a failure
// dumps: the words from ESC to the end of the block.
EscOutcome PerformEsc(Window window, TerminalState& state, std::uint16_t argument,
                      const std::uint8_t* sequence, int byteLength);

// Reads x；y CR lines from the port and plots them until EOT. Returns 0xFF after
// EOT, 0 on failure.
int RunPointPlot(Window window);
