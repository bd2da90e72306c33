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

// Connects `terminal` with the default settings and `settings`, then pushes
// `input` into it as received. The input ends as a port that has closed, so
// a sequence or point-plot mode waiting for more words ends there. The
// drawing queue is flushed at the end.
void ReplayInput(NativeTerminal& terminal, const std::string& input, const ReplaySettings& settings);
