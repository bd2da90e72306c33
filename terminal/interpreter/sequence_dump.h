// The dump of a sequence the interpreter could not carry out.
#pragma once

#include <cstdint>

#include "terminal/model/roles.h"

// Tells the user the words from the failing sequence's first word to the end
// of its block as dump lines (a message box of the front end). Returns 0, or
// -1 when no memory was left for the text.
int ShowSequenceDump(HostWindow& host, const std::uint8_t* words, int byteLength);
