// The dump of a sequence the interpreter could not carry out.
#pragma once

#include <cstdint>

#include "terminal/model/roles.h"

// Shows the words from the failing sequence's first word to the end of its
// block as dump lines in a message box. Returns 0 once the box is closed, -1
// when no memory was left for the text.
int ShowSequenceDump(HostWindow& host, const std::uint8_t* words, int byteLength);
