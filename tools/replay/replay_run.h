// A replay: received bytes played through a freshly connected terminal, as
// talvorix-replay plays them.
#pragma once

#include <string>

#include "terminal/native/native_platform.h"

// The terminal's options that change what the interpreter does with the words.
struct ReplaySettings {
  bool newLine = false;
  bool noWrap = false;
  bool localEcho = false;  // what the terminal sends (ACK, NAK) comes back as received
};

// Connects `terminal` with the default settings and `settings`, then feeds it
// `input` as the receive pump would: blocks of at most 100 even bytes, a block
// ending after an ESC 点 pair, each block logged before it is interpreted. The
// port closes at the end of the input, so a wait for more words ends there.
// The drawing queue is flushed at the end.
void ReplayInput(NativeTerminal& terminal, const std::string& input, const ReplaySettings& settings);
