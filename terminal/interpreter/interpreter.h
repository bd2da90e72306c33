// The receive interpreter: turns blocks of received JisWords into changes of
// the screen model, the text canvas and the graphic plane.
#pragma once

#include <cstdint>

#include "terminal/model/terminal_state.h"

// Interprets one block of little-endian words. Returns 1 when the block was
// interpreted to its end, 0 when the window has no record or a sequence failed.
// A block of one byte is a local echo: the two bytes of a word are gathered
// across calls, and the word is shown without ever reading from the port.
int InterpretReceived(Window terminalWindow, const std::uint8_t* words, int byteLength);

// Forgets an echoed byte still waiting for its partner (a connection that
// ended inside a key report), so that a new connection's echo starts on a word.
void RestartLocalEcho();
