// The receive interpreter: turns blocks of received JisWords into changes of
// the screen model, the text canvas and the graphic plane.
#pragma once

#include <cstdint>

#include "terminal/model/terminal_state.h"

// Interprets one block of little-endian words. Returns 1 when the block was
// interpreted to its end, 0 when the window has no record or a sequence failed.
int InterpretReceived(Window terminalWindow, const std::uint8_t* words, int byteLength);
