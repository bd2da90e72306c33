// The interpreter's loop over whole words, shared by InterpretReceived, the
// erasing of a line and a completed cut sequence.
#pragma once

#include <cstdint>

#include "terminal/model/terminal_state.h"

// Interprets `wordCount` words. Returns 1 at the end of the block, 0 without a
// record or when a sequence failed.
int InterpretWords(Window window, const std::uint8_t* words, int wordCount);
